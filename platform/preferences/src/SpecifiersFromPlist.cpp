// Specifier files read into specifiers: cell names, default getters and setters, detail classes and colour cells.
#include "SpecifiersFromPlist.h"

#include <Foundation/Foundation.h>
#include <Preferences/PSListItemsController.h>
#include <Preferences/PreferenceLoader.h>

#include <array>
#include <string_view>

namespace platform::preferences {

namespace {

struct CellName {
    std::string_view name;
    PSCellType type;
};

constexpr std::array<CellName, 15> kCellNames = {{
    {"PSGroupCell", PSGroupCell},
    {"PSLinkCell", PSLinkCell},
    {"PSLinkListCell", PSLinkListCell},
    {"PSListItemCell", PSListItemCell},
    {"PSTitleValueCell", PSTitleValueCell},
    {"PSSliderCell", PSSliderCell},
    {"PSSwitchCell", PSSwitchCell},
    {"PSStaticTextCell", PSStaticTextCell},
    {"PSEditTextCell", PSEditTextCell},
    {"PSSegmentCell", PSSegmentCell},
    {"PSGiantIconCell", PSGiantIconCell},
    {"PSGiantCell", PSGiantCell},
    {"PSSecureEditTextCell", PSSecureEditTextCell},
    {"PSButtonCell", PSButtonCell},
    {"PSEditTextViewCell", PSEditTextViewCell},
}};

bool isKind(id object, Class cls) { return object_isKindOfClass(object, cls); }

NSString* stringEntry(NSDictionary* dictionary, const char* key) {
    id value = dictionary->objectForKey(objc::str(key));
    return isKind(value, NSString::class_()) ? static_cast<NSString*>(value) : nullptr;
}

long cellTypeNamed(NSString* name) {
    if (!name) return PSGroupCell;
    for (const CellName& cell : kCellNames)
        if (name->utf8() == cell.name) return cell.type;
    return PSStaticTextCell;
}

bool boolEntry(NSDictionary* dictionary, const char* key) {
    id value = dictionary->objectForKey(objc::str(key));
    return value && msg<BOOL>(value, sel<"respondsToSelector:">(), sel<"boolValue">()) && msg<BOOL>(value, sel<"boolValue">());
}

// The colour picker's cells name their setting in a dictionary of their own; the framework
// reads and writes them like any other setting, so its entries stand for the item's.
void foldColourPickerEntries(PSSpecifier* specifier) {
    id colourPicker = specifier->properties->objectForKey(NSSTR("libcolorpicker"));
    if (!isKind(colourPicker, NSDictionary::class_())) return;
    auto* entries = static_cast<NSDictionary*>(colourPicker);
    struct Fold {
        const char* from;
        const char* to;
    };
    for (Fold fold : {Fold{"defaults", "defaults"}, Fold{"key", "key"}, Fold{"PostNotification", "PostNotification"},
                      Fold{"fallback", "default"}}) {
        id value = entries->objectForKey(objc::str(fold.from));
        if (value && !specifier->properties->objectForKey(objc::str(fold.to)))
            msg<void>(specifier->properties.get(), sel<"setObject:forKey:">(), value, static_cast<id>(objc::str(fold.to)));
    }
}

Class detailClassOf(NSDictionary* item, long cellType) {
    if (NSString* detail = stringEntry(item, "detail")) return NSClassFromString(detail);
    if (boolEntry(item, "isController"))
        if (NSBundle* bundle = preferenceBundleNamed(stringEntry(item, "bundle"))) return msg<Class>(bundle, sel<"principalClass">());
    if (cellType == PSLinkListCell) return PSListItemsController::class_();
    return nullptr;
}

void readValuesAndTitles(PSSpecifier* specifier, NSDictionary* item) {
    id values = item->objectForKey(NSSTR("validValues"));
    if (!isKind(values, NSArray::class_())) return;
    id titles = item->objectForKey(NSSTR("validTitles"));
    if (!isKind(titles, NSArray::class_())) titles = values;
    msg<void>(specifier, sel<"setValues:titles:">(), values, titles);
}

}  // namespace

NSBundle* preferenceBundleNamed(NSString* name) {
    if (!name || name->utf16().empty() || name->utf8().find('/') != std::string::npos || name->utf8().starts_with('.'))
        return nullptr;
    std::string path = std::string(kPreferenceBundlesFolder) + "/" + name->utf8() + ".bundle";
    return msg<NSBundle*>(NSBundle::class_(), sel<"bundleWithPath:">(), objc::str(path));
}

objc::Strong<PSSpecifier> specifierFromItem(NSDictionary* item, id target) {
    auto specifier = objc::adopt(objc::createInstance<PSSpecifier>());
    specifier->properties = objc::adopt(static_cast<NSMutableDictionary*>(msg<id>(item, sel<"mutableCopy">())));
    specifier->target = target;
    specifier->cellType = cellTypeNamed(stringEntry(item, "cell"));
    specifier->name = objc::retain(stringEntry(item, "label"));
    NSString* identifier = stringEntry(item, "id");
    specifier->identifier = objc::retain(identifier ? identifier : specifier->name.get());
    foldColourPickerEntries(specifier);

    if (specifier->stringProperty("key")) {
        NSString* getter = stringEntry(item, "get");
        NSString* setter = stringEntry(item, "set");
        specifier->getter = getter ? NSSelectorFromString(getter) : sel<"readPreferenceValue:">();
        specifier->setter = setter ? NSSelectorFromString(setter) : sel<"setPreferenceValue:specifier:">();
    }
    if (NSString* action = stringEntry(item, "action")) specifier->buttonAction = NSSelectorFromString(action);
    specifier->detailControllerClass = detailClassOf(item, specifier->cellType);
    readValuesAndTitles(specifier, item);
    return specifier;
}

LoadedSpecifiers specifiersFromPlist(NSDictionary* plist, id target) {
    NSArray::Objects specifiers;
    LoadedSpecifiers loaded;
    if (plist) {
        if (NSString* title = stringEntry(plist, "title")) loaded.title = objc::retain(title);
        id items = plist->objectForKey(NSSTR("items"));
        if (isKind(items, NSArray::class_()))
            for (const auto& item : static_cast<NSArray*>(items)->objects())
                if (isKind(item, NSDictionary::class_())) specifiers.push_back(specifierFromItem(static_cast<NSDictionary*>(item.get()), target));
    }
    loaded.specifiers = NSArray::create(std::move(specifiers));
    return loaded;
}

}  // namespace platform::preferences
