// Fuzz target: the tweak's settings loader on arbitrary settings, theme and Noctis settings files.
#include "Preferences.h"
#include "ThemeState.h"
#include "scratch_device.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIColor.h>

#include <array>

namespace {

constexpr const char* kSettings = "/var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist";
constexpr const char* kThemes = "/Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle/themes.plist";
constexpr const char* kNoctisLibrary = "/Library/MobileSubstrate/DynamicLibraries/Noctis12.dylib";
constexpr const char* kNoctisSettings = "/var/mobile/Library/Preferences/com.merrowind.noctis12prefs.settings.plist";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::scratchDevice();
    return 0;
}

// The input is the settings file, then the theme file, then the Noctis settings (whose presence
// also installs Noctis), separated by fuzzing::kFileSeparator lines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto parts = fuzzing::splitFiles({reinterpret_cast<const char*>(data), size});
    fuzzing::placePart(kSettings, parts, 0);
    fuzzing::placePart(kThemes, parts, 1);
    fuzzing::placePart(kNoctisSettings, parts, 2);
    if (parts.size() > 2) fuzzing::placeFile(kNoctisLibrary, "");
    else fuzzing::removeFile(kNoctisLibrary);

    // Flags the file leaves out keep their previous values: start every input from the same ones.
    obscuro::enabled = false;
    obscuro::noctisIntegration = false;
    obscuro::useCustomColors = false;
    obscuro::loadPreferences(nullptr, nullptr, nullptr, nullptr, nullptr);

    if (!object_isKindOfClass(theme, NSString::class_())) fuzzing::broken("the theme name is a string");
    for (id colour : std::array{bgColor, darkerBgColor, mainTextColor, barColor, tintColor})
        if (!object_isKindOfClass(colour, objc_getClass("UIColor"))) fuzzing::broken("every ThemeState colour is a colour");
    return 0;
}
