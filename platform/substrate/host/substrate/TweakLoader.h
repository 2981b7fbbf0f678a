// Loading tweaks into a host at start: filter plists in the device's DynamicLibraries folder pick the libraries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What happened to one filter plist of the DynamicLibraries folder.
struct TweakLoadEntry {
    enum class Outcome {
        Loaded,          // its filter names this host and its library was opened
        NotForThisHost,  // its filter names neither the bundle identifier nor the executable
        BrokenFilter,    // the plist is unreadable, or its Filter, Bundles or Executables has the wrong type
        LoadFailed,      // the filter matched but the library could not be opened
    };
    std::string name;  // the base name shared by "<name>.plist" and "<name>.dylib"
    Outcome outcome;
    std::string detail;  // why, for every outcome but Loaded
};

struct TweakLoadReport {
    std::vector<TweakLoadEntry> entries;  // in the order the plists were considered

    std::vector<std::string> loaded() const;  // names of the libraries opened
    // One line per plist, for a host to print: "Obscuro: loaded", "Other: skipped (…)".
    std::string describe() const;
};

// Reads every "*.plist" of "/Library/MobileSubstrate/DynamicLibraries/" in the device, in
// name order, and opens (RTLD_NOW) the library "<name>.dylib" beside each plist whose
// "Filter" dictionary lists `bundleIdentifier` in its "Bundles" array or `executableName`
// in its "Executables" array, so that the library's constructors run in this process. A
// plist without a Filter loads nothing. Broken plists and libraries that fail to open are
// reported on stderr and skipped; the other tweaks still load. Libraries are never closed.
TweakLoadReport loadTweaks(std::string_view bundleIdentifier, std::string_view executableName);

}  // namespace platform
