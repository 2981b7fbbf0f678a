// PreferenceLoader: entry plists naming preference bundles, and the root page each bundle provides.
#include "SpecifiersFromPlist.h"

#include <Foundation/Foundation.h>
#include <Preferences/PreferenceLoader.h>

namespace platform {

namespace {

NSString* stringEntry(NSDictionary* dictionary, const char* key) {
    id value = dictionary ? dictionary->objectForKey(objc::str(key)) : nullptr;
    return object_isKindOfClass(value, NSString::class_()) ? static_cast<NSString*>(value) : nullptr;
}

void note(std::vector<std::string>* problems, std::string line) {
    if (problems) problems->push_back(std::move(line));
}

}  // namespace

std::vector<PreferenceLoaderEntry> preferenceLoaderEntries(std::vector<std::string>* problems) {
    objc::AutoreleasePool pool;
    std::vector<PreferenceLoaderEntry> entries;
    id manager = msg<id>(NSFileManager::class_(), sel<"defaultManager">());
    auto* names = msg<NSArray*>(manager, sel<"contentsOfDirectoryAtPath:error:">(), objc::str(kPreferenceLoaderFolder),
                                static_cast<NSError**>(nullptr));
    if (!names) return entries;
    for (const auto& object : names->objects()) {
        std::string name = objc::utf8(object.get());
        if (!name.ends_with(".plist")) continue;
        std::string path = std::string(kPreferenceLoaderFolder) + "/" + name;
        auto* plist = msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(path));
        id entry = plist ? plist->objectForKey(NSSTR("entry")) : nullptr;
        if (!object_isKindOfClass(entry, NSDictionary::class_())) {
            note(problems, path + ": not a property list with an \"entry\" dictionary");
            continue;
        }
        auto* entryDictionary = static_cast<NSDictionary*>(entry);
        NSString* bundleName = stringEntry(entryDictionary, "bundle");
        NSBundle* bundle = preferences::preferenceBundleNamed(bundleName);
        if (!bundle) {
            note(problems, path + ": names no preference bundle in " + kPreferenceBundlesFolder +
                               (bundleName ? " (\"" + bundleName->utf8() + "\")" : ""));
            continue;
        }
        PreferenceLoaderEntry loaded;
        loaded.entryPath = path;
        loaded.bundleName = bundleName->utf8();
        loaded.bundlePath = objc::utf8(msg<id>(bundle, sel<"bundlePath">()));
        NSString* label = stringEntry(entryDictionary, "label");
        loaded.label = label ? label->utf8() : loaded.bundleName;
        // The entry itself is the specifier that opens the bundle's root page; its class comes
        // from the bundle once the bundle is loaded, not while the entries are only listed.
        auto item = objc::adopt(static_cast<NSMutableDictionary*>(msg<id>(entryDictionary, sel<"mutableCopy">())));
        msg<void>(item.get(), sel<"removeObjectForKey:">(), static_cast<id>(NSSTR("isController")));
        loaded.specifier = preferences::specifierFromItem(item, nullptr);
        if (!label) msg<void>(loaded.specifier.get(), sel<"setProperty:forKey:">(), static_cast<id>(bundleName), static_cast<id>(NSSTR("label")));
        entries.push_back(std::move(loaded));
    }
    return entries;
}

PreferenceLoaderEntry preferenceLoaderEntryNamed(const std::string& bundleName, std::vector<std::string>* problems) {
    for (auto& entry : preferenceLoaderEntries(problems))
        if (entry.bundleName == bundleName) return entry;
    return {};
}

objc::Strong<PSListController> rootControllerForEntry(const PreferenceLoaderEntry& entry, std::string* error) {
    objc::AutoreleasePool pool;
    auto fail = [&](std::string reason) {
        if (error) *error = entry.bundlePath + ": " + std::move(reason);
        return objc::Strong<PSListController>();
    };
    auto* bundle = msg<NSBundle*>(NSBundle::class_(), sel<"bundleWithPath:">(), objc::str(entry.bundlePath));
    if (!bundle) return fail("no such bundle");
    if (!msg<BOOL>(bundle, sel<"load">())) return fail("its library cannot be loaded");
    NSString* detail = entry.specifier ? entry.specifier->stringProperty("detail") : nullptr;
    Class cls = detail ? NSClassFromString(detail) : msg<Class>(bundle, sel<"principalClass">());
    if (!cls) return fail(detail ? "no class named " + detail->utf8() : "no principal class");
    if (!class_isSubclassOfClass(cls, PSListController::class_())) return fail(std::string(class_getName(cls)) + " is not a list controller");
    auto page = objc::adopt(msg<PSListController*>(msg<id>(cls, sel<"alloc">()), sel<"init">()));
    if (!page) return fail(std::string(class_getName(cls)) + " could not be made");
    page->specifier = entry.specifier;
    page->bundle = objc::retain(bundle);
    if (entry.specifier) entry.specifier->detailControllerClass = cls;
    return page;
}

}  // namespace platform
