// loadPreferences and the Noctis coupling, step by step as the settings file is read.
#include "Preferences.h"

#include "ClassTests.h"
#include "HiddenConstants.h"
#include "ThemeState.h"
#include "UIColor+Tarnwick.h"

#include <Foundation/Foundation.h>
#include <colorpicker/libcolorpicker.h>

#include <array>

namespace obscuro {

namespace {

constexpr const char* kSettingsPath = "/var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist";
constexpr const char* kThemePath = "/Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle/themes.plist";

struct FlagKey {
    const char* key;
    bool* flag;
};

// The flags, in the order the settings file is read; "theme" sits between the first two.
constexpr std::array<FlagKey, 6> kFlagKeys = {{
    {"enabled", &enabled},
    {"noctisIntegration", &noctisIntegration},
    {"enableDarkKeyboard", &enableDarkKeyboard},
    {"useCustomColors", &useCustomColors},
    {"displayArtworkShadow", &displayArtworkShadow},
    {"useDarkPlaceholder", &useDarkPlaceholder},
}};

id readDictionary(const char* devicePath) {
    id dictionary = msg<id>(objc_getClass("NSDictionary"), sel<"alloc">());
    return objc::autorelease(msg<id>(dictionary, sel<"initWithContentsOfFile:">(), objc::str(devicePath)));
}

bool fileExists(const char* devicePath) {
    id manager = msg<id>(objc_getClass("NSFileManager"), sel<"defaultManager">());
    return msg<BOOL>(manager, sel<"fileExistsAtPath:">(), objc::str(devicePath));
}


// A value read as a flag must answer boolValue; anything else (an array, a dictionary)
// is treated as absent rather than crashing the app on a damaged settings file.
void readFlag(id settings, const FlagKey& entry) {
    id value = msg<id>(settings, sel<"objectForKey:">(), objc::str(entry.key));
    if (value && msg<BOOL>(value, sel<"respondsToSelector:">(), sel<"boolValue">()))
        setFlag(*entry.flag, msg<BOOL>(value, sel<"boolValue">()));
}

bool boolEntry(id dictionary, const char* key) {
    id value = msg<id>(dictionary, sel<"objectForKey:">(), objc::str(key));
    return value && msg<BOOL>(value, sel<"respondsToSelector:">(), sel<"boolValue">()) && msg<BOOL>(value, sel<"boolValue">());
}

struct NoctisEdition {
    const char* library;
    const char* settings;
    const char* key;
};

constexpr std::array<NoctisEdition, 2> kNoctisEditions = {{
    {"/Library/MobileSubstrate/DynamicLibraries/Noctis12.dylib",
     "/var/mobile/Library/Preferences/com.merrowind.noctis12prefs.settings.plist", "enabled"},
    {"/Library/MobileSubstrate/DynamicLibraries/NoctisXI.dylib", "/var/mobile/Library/Preferences/com.merrowind.noctis.plist",
     "MWDDarkModeEnabled"},
}};

}  // namespace

bool noctisDarkModeEnabled() {
    for (const NoctisEdition& edition : kNoctisEditions) {
        if (!fileExists(edition.library)) continue;
        id settings = msg<id>(objc_getClass("NSDictionary"), sel<"dictionaryWithContentsOfFile:">(), objc::str(edition.settings));
        return settings && boolEntry(settings, edition.key);
    }
    return false;
}

void loadPreferences(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    objc::AutoreleasePool pool;

    // 1. The theme name starts at the default.
    replaceMember(theme, NSSTR("midnight"));

    // 2–3. The flags and the theme name from the settings file, when it can be read.
    id settings = readDictionary(kSettingsPath);
    if (settings) {
        readFlag(settings, kFlagKeys[0]);
        id themeName = msg<id>(settings, sel<"objectForKey:">(), NSSTR("theme"));
        if (isKind(themeName, "NSString")) replaceMember(theme, themeName);
        for (std::size_t i = 1; i < kFlagKeys.size(); ++i) readFlag(settings, kFlagKeys[i]);
    }

    // 4. With Noctis integration, the product follows the Noctis dark-mode switch.
    if (enabled && noctisIntegration) setFlag(enabled, noctisDarkModeEnabled());

    // 5. The hidden constants, revealed afresh at every load.
    id defaultBackground = revealDefaultBackgroundColor();
    id backgroundKey = revealBackgroundColorKey();
    id textKey = revealTextColorKey();

    // 6. Defaults.
    replaceMember(bgColor, tw_colorFromHexString(defaultBackground));
    replaceMember(darkerBgColor, tw_colorFromHexString(defaultBackground));
    replaceMember(mainTextColor, tw_colorFromHexString(NSSTR("#fdfdfd")));
    replaceMember(barColor, tw_colorFromHexString(defaultBackground));
    replaceMember(tintColor, tw_colorFromHexString(NSSTR("#FFEBEE")));

    // 7. The colour source: the settings themselves, or the named theme of the theme file.
    id source = nullptr;
    if (useCustomColors) {
        source = settings;
    } else {
        id themes = readDictionary(kThemePath);
        if (!themes) return;
        source = msg<id>(themes, sel<"objectForKey:">(), msg<id>(theme, sel<"lowercaseString">()));
        if (!isKind(source, "NSDictionary")) return;
    }

    // 8. The five colours, each with its fallback.
    struct ColourKey {
        id* member;
        id key;
        id fallback;
    };
    const std::array<ColourKey, 5> colours = {{
        {&bgColor, backgroundKey, defaultBackground},
        {&darkerBgColor, NSSTR("secondaryColor"), defaultBackground},
        {&mainTextColor, textKey, NSSTR("#fdfdfd")},
        {&barColor, NSSTR("barColor"), defaultBackground},
        {&tintColor, NSSTR("tintColor"), NSSTR("#FFEBEE")},
    }};
    for (const ColourKey& colour : colours) {
        id stored = msg<id>(source, sel<"objectForKey:">(), colour.key);
        replaceMember(*colour.member, LCPParseColorString(stored, colour.fallback));
    }
}

}  // namespace obscuro
