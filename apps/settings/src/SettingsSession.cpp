// Settings pages as live list controllers: opened from PreferenceLoader's entries, described, written with type checks, and tapped.
#include <settings/SettingsSession.h>

#include "PropertyListJson.h"

#include <Foundation/Foundation.h>
#include <Preferences/PSListItemsController.h>
#include <Preferences/PreferenceLoader.h>
#include <UIKit/UIApplication.h>
#include <colorpicker/libcolorpicker.h>
#include <device/device.h>

#include <algorithm>
#include <mutex>
#include <set>

namespace settings {

namespace {

// Pages lead to pages; a bundle whose links go round in circles still opens in finite time.
constexpr int kMaximumPageDepth = 8;

std::string text(id object) { return objc::utf8(object); }

std::vector<PSSpecifier*> specifiersOf(PSListController* controller) {
    std::vector<PSSpecifier*> result;
    auto* list = msg<NSArray*>(controller, sel<"specifiers">());
    if (!object_isKindOfClass(list, NSArray::class_())) return result;
    for (const auto& object : list->objects())
        if (object_isKindOfClass(object.get(), PSSpecifier::class_())) result.push_back(static_cast<PSSpecifier*>(object.get()));
    return result;
}

bool isColourCell(PSSpecifier* specifier) {
    return object_isKindOfClass(specifier->properties->objectForKey(NSSTR("libcolorpicker")), NSDictionary::class_());
}

bool opensPage(PSSpecifier* specifier) {
    return class_isSubclassOfClass(specifier->detailControllerClass, PSListController::class_()) &&
           !class_isSubclassOfClass(specifier->detailControllerClass, PSListItemsController::class_());
}

// A colour string is one the colour picker reads by itself: with two different fallbacks it
// answers the same colour.
bool isColourString(const std::string& value) {
    objc::AutoreleasePool pool;
    NSString* string = objc::str(value);
    id onBlack = LCPParseColorString(string, NSSTR("#000000"));
    id onWhite = LCPParseColorString(string, NSSTR("#FFFFFF"));
    return msg<BOOL>(onBlack, sel<"isEqual:">(), onWhite);
}

// The choices of a list cell, as its list-items page offers them.
std::vector<std::pair<objc::Strong<objc_object>, std::string>> choicesOf(PSListController* controller, PSSpecifier* specifier) {
    std::vector<std::pair<objc::Strong<objc_object>, std::string>> choices;
    auto* items = msg<PSListController*>(controller, sel<"controllerForSpecifier:">(), specifier);
    if (object_isKindOfClass(items, PSListItemsController::class_())) {
        for (PSSpecifier* item : specifiersOf(items))
            if (item->cellType == PSListItemCell)
                choices.emplace_back(objc::retain(item->properties->objectForKey(NSSTR("value"))), text(item->name.get()));
    } else if (specifier->values) {
        for (const auto& value : specifier->values->objects()) {
            id title = specifier->titleDictionary ? specifier->titleDictionary->objectForKey(value) : nullptr;
            choices.emplace_back(value, title ? text(title) : text(msg<id>(value.get(), sel<"description">())));
        }
    }
    return choices;
}

// What the last tap did, gathered by the application's URL handler and the device's spawn observer.
std::mutex gOutcomeLock;
ActionOutcome* gOutcome = nullptr;

void recordSpawn(std::string_view path, char* const argv[]) {
    std::lock_guard lock(gOutcomeLock);
    if (!gOutcome) return;
    ActionOutcome::Spawn spawn{std::string(path), {}};
    for (char* const* argument = argv; argument && *argument; ++argument) spawn.args.emplace_back(*argument);
    gOutcome->spawned.push_back(std::move(spawn));
}

}  // namespace

nlohmann::json ActionOutcome::toJson() const {
    nlohmann::json spawnedJson = nlohmann::json::array();
    for (const auto& spawn : spawned) spawnedJson.push_back({{"path", spawn.path}, {"args", spawn.args}});
    return {{"opened", opened}, {"spawned", spawnedJson}};
}

std::unique_ptr<SettingsSession> SettingsSession::open(const std::string& bundleName, std::string* error) {
    objc::AutoreleasePool pool;
    platform::createApplication();
    auto session = std::make_unique<SettingsSession>();
    std::vector<std::string> problems;
    auto entries = platform::preferenceLoaderEntries(&problems);

    struct Pending {
        const platform::PreferenceLoaderEntry* entry;
        objc::Strong<PSListController> controller;
        int depth;
    };
    for (const auto& entry : entries) {
        if (!bundleName.empty() && entry.bundleName != bundleName) continue;
        std::string reason;
        auto root = platform::rootControllerForEntry(entry, &reason);
        if (!root) {
            problems.push_back(reason);
            continue;
        }
        std::vector<Pending> pending{{&entry, root, 0}};
        std::set<std::string> names;
        while (!pending.empty()) {
            Pending next = std::move(pending.front());
            pending.erase(pending.begin());
            auto specifiers = specifiersOf(next.controller);
            std::string name = next.controller->specifierFileName;
            if (name.empty()) name = class_getName(object_getClass(next.controller.get()));
            if (!names.insert(name).second) continue;
            session->pages_.push_back({entry.bundleName, entry.label, name, next.controller});
            if (next.depth >= kMaximumPageDepth) continue;
            for (PSSpecifier* specifier : specifiers)
                if (opensPage(specifier))
                    if (auto* child = msg<PSListController*>(next.controller.get(), sel<"controllerForSpecifier:">(), specifier))
                        pending.push_back({next.entry, objc::retain(child), next.depth + 1});
        }
    }
    if (session->pages_.empty()) {
        if (error) {
            *error = bundleName.empty() ? "no preference bundle could be opened" : "the preference bundle " + bundleName + " could not be opened";
            for (const auto& problem : problems) *error += "\n  " + problem;
        }
        return nullptr;
    }
    return session;
}

const Page* SettingsSession::page(const std::string& bundle, const std::string& name) const {
    for (const auto& page : pages_)
        if ((bundle.empty() || page.bundle == bundle) && page.name == name) return &page;
    return nullptr;
}

nlohmann::json SettingsSession::describe(const Page& page, bool withValues) const {
    objc::AutoreleasePool pool;
    nlohmann::json rows = nlohmann::json::array();
    for (PSSpecifier* specifier : specifiersOf(page.controller)) {
        NSString* key = specifier->stringProperty("key");
        nlohmann::json row = {
            {"label", specifier->name ? nlohmann::json(text(specifier->name.get())) : nlohmann::json()},
            {"cell", specifier->stringProperty("cell") ? nlohmann::json(text(specifier->stringProperty("cell"))) : nlohmann::json()},
            {"key", key ? nlohmann::json(text(key)) : nlohmann::json()},
            {"action", specifier->buttonAction ? nlohmann::json(sel_getName(specifier->buttonAction)) : nlohmann::json()},
            {"default", jsonFromValue(specifier->properties->objectForKey(NSSTR("default")))},
        };
        if (withValues) {
            row["id"] = specifier->identifier ? nlohmann::json(text(specifier->identifier.get())) : nlohmann::json();
            if (NSString* footer = specifier->stringProperty("footerText")) row["footerText"] = text(footer);
            if (key && specifier->getter) row["value"] = jsonFromValue(msg<id>(specifier, sel<"performGetter">()));
            if (specifier->cellType == PSLinkListCell || specifier->cellType == PSSegmentCell) {
                nlohmann::json choices = nlohmann::json::array();
                for (const auto& [value, title] : choicesOf(page.controller, specifier))
                    choices.push_back({{"value", jsonFromValue(value.get())}, {"title", title}});
                row["choices"] = choices;
            }
            if (isColourCell(specifier)) {
                auto* picker = static_cast<NSDictionary*>(specifier->properties->objectForKey(NSSTR("libcolorpicker")));
                id alpha = picker->objectForKey(NSSTR("alpha"));
                row["colour"] = {{"alpha", alpha && msg<BOOL>(alpha, sel<"respondsToSelector:">(), sel<"boolValue">()) &&
                                               msg<BOOL>(alpha, sel<"boolValue">())}};
            }
            if (opensPage(specifier))
                for (const auto& other : pages_)
                    if (other.bundle == page.bundle && other.controller->specifier.get() == specifier) row["page"] = other.name;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

PSSpecifier* SettingsSession::settingSpecifier(const Page& page, const std::string& key) const {
    for (PSSpecifier* specifier : specifiersOf(page.controller)) {
        NSString* declared = specifier->stringProperty("key");
        if (declared && declared->utf8() == key && specifier->setter && specifier->cellType != PSGroupCell &&
            specifier->cellType != PSButtonCell)
            return specifier;
    }
    return nullptr;
}

const Page* SettingsSession::pageDeclaring(const std::string& key) const {
    for (const auto& page : pages_)
        if (settingSpecifier(page, key)) return &page;
    return nullptr;
}

WriteResult SettingsSession::write(const Page& page, const std::string& key, const nlohmann::json& value) const {
    objc::AutoreleasePool pool;
    PSSpecifier* specifier = settingSpecifier(page, key);
    auto refused = [](Refusal why, std::string message) { return WriteResult{why, std::move(message), nullptr}; };
    if (!specifier) return refused(Refusal::unknownKey, "no setting on the page " + page.name + " has the key \"" + key + "\"");
    auto wrong = [&](const std::string& expected) {
        return refused(Refusal::wrongType, "\"" + key + "\" takes " + expected + ", not " + value.dump());
    };

    objc::Strong<objc_object> stored;
    if (specifier->cellType == PSSwitchCell) {
        if (!value.is_boolean()) return wrong("true or false");
        stored = NSNumber::createBool(value.get<bool>());
    } else if (isColourCell(specifier)) {
        if (!value.is_string() || !isColourString(value.get<std::string>()))
            return wrong("a colour string (#RGB or #RRGGBB, optionally followed by :alpha)");
        stored = objc::retain(static_cast<id>(objc::str(value.get<std::string>())));
    } else if (specifier->cellType == PSLinkListCell || specifier->cellType == PSSegmentCell) {
        std::string listed;
        for (const auto& [choice, title] : choicesOf(page.controller, specifier)) {
            if (jsonFromValue(choice.get()) == value) stored = choice;
            listed += (listed.empty() ? "" : ", ") + jsonFromValue(choice.get()).dump();
        }
        if (!stored) return wrong("one of " + listed);
    } else if (specifier->cellType == PSSliderCell) {
        if (!value.is_number()) return wrong("a number");
        stored = valueFromJson(value);
    } else {
        if (!value.is_string()) return wrong("a string");
        stored = valueFromJson(value);
    }
    msg<void>(specifier, sel<"performSetterWithValue:">(), stored.get());
    // The setter returns nothing, as on the phone; reading the value back tells whether the file
    // took it.
    nlohmann::json readBack = read(page, key);
    if (readBack != jsonFromValue(stored.get()))
        return refused(Refusal::notStored, "could not write \"" + key + "\"; the settings file holds what it held before");
    return {Refusal::none, {}, std::move(readBack)};
}

nlohmann::json SettingsSession::read(const Page& page, const std::string& key) const {
    objc::AutoreleasePool pool;
    PSSpecifier* specifier = settingSpecifier(page, key);
    return specifier ? jsonFromValue(msg<id>(specifier, sel<"performGetter">())) : nlohmann::json();
}

bool SettingsSession::tap(const Page& page, const std::string& label, const std::vector<std::string>& openable,
                          ActionOutcome* outcome) const {
    objc::AutoreleasePool pool;
    PSSpecifier* button = nullptr;
    for (PSSpecifier* specifier : specifiersOf(page.controller))
        if (specifier->buttonAction && ((specifier->name && text(specifier->name.get()) == label) ||
                                        (specifier->identifier && text(specifier->identifier.get()) == label))) {
            button = specifier;
            break;
        }
    if (!button) return false;

    ActionOutcome local;
    ActionOutcome* record = outcome ? outcome : &local;
    std::set<std::string> schemes = {"http", "https", "mailto"};
    schemes.insert(openable.begin(), openable.end());
    platform::setOpenableSchemes(schemes);
    platform::setURLHandler([record](const std::string& url) {
        std::lock_guard lock(gOutcomeLock);
        record->opened.push_back(url);
        return true;
    });
    {
        std::lock_guard lock(gOutcomeLock);
        gOutcome = record;
    }
    device::setSpawnObserver(recordSpawn);
    bool performed = platform::performButtonAction(button);
    device::setSpawnObserver(nullptr);
    {
        std::lock_guard lock(gOutcomeLock);
        gOutcome = nullptr;
    }
    platform::setURLHandler(nullptr);
    platform::setOpenableSchemes({"http", "https", "mailto"});
    return performed;
}

nlohmann::json SettingsSession::valueFromText(const Page& page, const std::string& key, const std::string& text) const {
    PSSpecifier* specifier = settingSpecifier(page, key);
    if (!specifier) return text;
    std::string lowered = text;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), [](unsigned char c) { return std::tolower(c); });
    if (specifier->cellType == PSSwitchCell) {
        if (lowered == "true" || lowered == "yes" || lowered == "1") return true;
        if (lowered == "false" || lowered == "no" || lowered == "0") return false;
        return text;
    }
    if (specifier->cellType == PSSliderCell) {
        auto parsed = nlohmann::json::parse(text, nullptr, false);
        return parsed.is_number() ? parsed : nlohmann::json(text);
    }
    if (specifier->cellType == PSLinkListCell || specifier->cellType == PSSegmentCell)
        for (const auto& [choice, title] : choicesOf(page.controller, specifier)) {
            nlohmann::json choiceJson = jsonFromValue(choice.get());
            if (!choiceJson.is_string() && choiceJson.dump() == text) return choiceJson;
        }
    return text;
}

}  // namespace settings
