// PreferenceLoader: the entry plists that add a preference bundle to Settings, and the bundle's root page.
#pragma once

#include <Preferences/PSListController.h>

#include <string>
#include <vector>

namespace platform {

// The folder of entry plists and the folder of preference bundles on the device.
inline constexpr const char* kPreferenceLoaderFolder = "/Library/PreferenceLoader/Preferences";
inline constexpr const char* kPreferenceBundlesFolder = "/Library/PreferenceBundles";

// One entry plist: {"entry": {"cell": "PSLinkCell", "label": …, "bundle": NAME, "isController": YES,
// "detail": class (optional)}}, naming the bundle "/Library/PreferenceBundles/NAME.bundle".
struct PreferenceLoaderEntry {
    std::string entryPath;   // device path of the entry plist
    std::string label;       // what Settings shows; the bundle name when the entry has no label
    std::string bundleName;  // NAME
    std::string bundlePath;  // device path of NAME.bundle
    objc::Strong<PSSpecifier> specifier;  // the entry as a specifier (its "label" among the properties)
};

// Every readable entry, in the order of the entry files' names. An entry plist that cannot be
// read, has no "entry" dictionary or names no usable bundle is left out, with a line saying why
// appended to `problems` when given.
std::vector<PreferenceLoaderEntry> preferenceLoaderEntries(std::vector<std::string>* problems = nullptr);

// The entry whose bundle is `bundleName`; an entry with an empty bundleName when there is none.
PreferenceLoaderEntry preferenceLoaderEntryNamed(const std::string& bundleName, std::vector<std::string>* problems = nullptr);

// Loads the entry's bundle and makes its root page: the entry's "detail" class, else the
// bundle's principal class, which must be a PSListController. The page gets the entry's
// specifier and the bundle. Nil, with the reason in `error`, when the bundle cannot be loaded
// or names no list controller.
objc::Strong<PSListController> rootControllerForEntry(const PreferenceLoaderEntry& entry, std::string* error = nullptr);

}  // namespace platform
