// The Settings app's side of the preference bundles: their pages as live list controllers, read, written and tapped through them.
#pragma once

#include <Preferences/PSListController.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

namespace settings {

// One page: a list controller of a preference bundle, named by the specifier file it loaded
// ("Root", "custom_colors", …); pages of one bundle have distinct names.
struct Page {
    std::string bundle;  // the bundle's name in /Library/PreferenceBundles
    std::string label;   // the bundle's label in Settings
    std::string name;
    objc::Strong<PSListController> controller;
};

// What a button's action did outside the page: URLs handed to the application to open, and
// device programs spawned.
struct ActionOutcome {
    std::vector<std::string> opened;
    struct Spawn {
        std::string path;
        std::vector<std::string> args;
    };
    std::vector<Spawn> spawned;
    nlohmann::json toJson() const;  // {"opened": [...], "spawned": [{"path": ..., "args": [...]}...]}
};

// Why a write was refused; the settings file is untouched in every case but `none`.
// `notStored`: the page's setter ran but the file did not take the value (a full disk, a file
// that cannot be replaced), so it holds what it held before.
enum class Refusal { none, unknownKey, wrongType, notStored };

struct WriteResult {
    Refusal refusal = Refusal::none;
    std::string message;  // for a refusal: what was wrong, in words for the user
    nlohmann::json stored;  // without a refusal: the value the file now holds, as read back
};

// The preference bundles of the current device (device::root) opened as Settings opens them:
// every PreferenceLoader entry's root page and, recursively, the pages its link cells lead to.
// Not thread-safe: one caller at a time, as the Settings app's main thread is the only one.
class SettingsSession {
public:
    // Opens the bundle named `bundleName`, or every listed bundle when it is empty. Makes the
    // shared application when there is none. Nil, with the reason in `error`, when no bundle
    // could be opened.
    static std::unique_ptr<SettingsSession> open(const std::string& bundleName, std::string* error);

    const std::vector<Page>& pages() const { return pages_; }
    // The page `name` of `bundle` (any bundle when `bundle` is empty); nil when there is none.
    const Page* page(const std::string& bundle, const std::string& name) const;

    // The page's rows as JSON: label, cell (the specifier file's cell name), key, action,
    // default, and for the page's own reading: value (read through the specifier's getter),
    // id, footerText, choices ([{value, title}] of a list cell), colour ({alpha}) for colour
    // cells, page (the name of the page a link opens).
    nlohmann::json describe(const Page& page, bool withValues) const;

    // The specifier of `page` that declares `key` and can be written; nil when none does.
    PSSpecifier* settingSpecifier(const Page& page, const std::string& key) const;
    // The first page (in page order) with a writable specifier for `key`; nil when none.
    const Page* pageDeclaring(const std::string& key) const;

    // Writes `value` through the specifier's setter (so through the page's controller). The
    // value must have the specifier's type: a boolean for a switch, one of the choices for a
    // list cell, a colour string the colour picker reads for a colour cell, a string for a
    // text cell, a number for a slider.
    WriteResult write(const Page& page, const std::string& key, const nlohmann::json& value) const;
    // The stored value, or the default, as JSON (null when there is neither).
    nlohmann::json read(const Page& page, const std::string& key) const;

    // Performs the action of the button labelled (or identified) `label` on `page`, with the
    // URL schemes in `openable` (besides http, https and mailto) counting as installed apps.
    // False when the page has no such button.
    bool tap(const Page& page, const std::string& label, const std::vector<std::string>& openable, ActionOutcome* outcome) const;

    // The text form a command line gives of a value for `key`: "true"/"false", "yes"/"no",
    // "1"/"0" for a switch, a number for a slider, the text itself otherwise.
    nlohmann::json valueFromText(const Page& page, const std::string& key, const std::string& text) const;

private:
    std::vector<Page> pages_;
};

}  // namespace settings
