// The tweak loader: matches filter plists against the host and opens the libraries they select.
#include <substrate/TweakLoader.h>

#include <Foundation/Foundation.h>
#include <device/device.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace platform {

namespace {

constexpr std::string_view kFolder = "/Library/MobileSubstrate/DynamicLibraries/";

using Outcome = TweakLoadEntry::Outcome;

// The plist names of the folder, sorted by name; none when the device has no such folder.
std::vector<std::string> filterPlistNames() {
    std::vector<std::string> names;
    auto folder = device::resolve(kFolder);
    if (!folder) return names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(*folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".plist" && it->is_regular_file(error)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The strings of `array`, or nullopt when `value` is present but not an array. Elements
// that are not strings cannot name anything and are passed over.
std::optional<std::vector<std::string>> stringsOf(id value) {
    std::vector<std::string> strings;
    if (!value) return strings;
    if (!object_isKindOfClass(value, NSArray::class_())) return std::nullopt;
    for (const auto& element : static_cast<NSArray*>(value)->objects())
        if (object_isKindOfClass(element.get(), NSString::class_())) strings.push_back(objc::utf8(element.get()));
    return strings;
}

bool contains(const std::vector<std::string>& strings, std::string_view wanted) {
    return std::find(strings.begin(), strings.end(), wanted) != strings.end();
}

// Decides from the plist alone whether this host wants the library; Loaded means "matches".
TweakLoadEntry matchFilter(const std::string& name, const std::string& plistPath, std::string_view bundleIdentifier,
                           std::string_view executableName) {
    auto* plist = msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(plistPath));
    if (!plist) return {name, Outcome::BrokenFilter, "the plist cannot be read as a dictionary"};
    id filter = plist->objectForKey(objc::str("Filter"));
    if (!filter) return {name, Outcome::NotForThisHost, "the plist has no Filter"};
    if (!object_isKindOfClass(filter, NSDictionary::class_())) return {name, Outcome::BrokenFilter, "Filter is not a dictionary"};
    auto* filterDictionary = static_cast<NSDictionary*>(filter);
    auto bundles = stringsOf(filterDictionary->objectForKey(objc::str("Bundles")));
    if (!bundles) return {name, Outcome::BrokenFilter, "Filter's Bundles is not an array"};
    auto executables = stringsOf(filterDictionary->objectForKey(objc::str("Executables")));
    if (!executables) return {name, Outcome::BrokenFilter, "Filter's Executables is not an array"};
    if (contains(*bundles, bundleIdentifier) || contains(*executables, executableName)) return {name, Outcome::Loaded, ""};
    return {name, Outcome::NotForThisHost, "the filter names neither this bundle nor this executable"};
}

}  // namespace

std::vector<std::string> TweakLoadReport::loaded() const {
    std::vector<std::string> names;
    for (const auto& entry : entries)
        if (entry.outcome == Outcome::Loaded) names.push_back(entry.name);
    return names;
}

std::string TweakLoadReport::describe() const {
    std::string text;
    for (const auto& entry : entries) {
        text += entry.name;
        text += entry.outcome == Outcome::Loaded ? ": loaded" : ": skipped (" + entry.detail + ")";
        text += '\n';
    }
    return text;
}

TweakLoadReport loadTweaks(std::string_view bundleIdentifier, std::string_view executableName) {
    objc::AutoreleasePool pool;
    TweakLoadReport report;
    for (const auto& plistName : filterPlistNames()) {
        std::string name = std::filesystem::path(plistName).stem().string();
        TweakLoadEntry entry = matchFilter(name, std::string(kFolder) + plistName, bundleIdentifier, executableName);
        if (entry.outcome == Outcome::Loaded) {
            std::string library = std::string(kFolder) + name + ".dylib";
            if (!device::dlopen(library.c_str(), RTLD_NOW)) {
                const char* error = device::dlerror();
                entry = {name, Outcome::LoadFailed, error ? error : "the library could not be opened"};
            }
        }
        if (entry.outcome == Outcome::BrokenFilter || entry.outcome == Outcome::LoadFailed)
            std::fprintf(stderr, "tweak loader: %s skipped: %s\n", name.c_str(), entry.detail.c_str());
        report.entries.push_back(std::move(entry));
    }
    return report;
}

}  // namespace platform
