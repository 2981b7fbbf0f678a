// The loaded tweak's ThemeState, read through the variables a tweak library exports by name.
#pragma once

#include <objc/objc.h>

#include <string>
#include <vector>

namespace music {

// One exported ThemeState member as text: a colour as "#RRGGBB" (components truncated to 0–255,
// alpha appended when it is not 1), the theme name quoted, "nil" for an empty member.
struct ThemeStateMember {
    std::string name;
    std::string value;
    bool operator==(const ThemeStateMember&) const = default;
};

// The members ("bgColor", "darkerBgColor", "mainTextColor", "barColor", "tintColor",
// "textDrawingColor", "theme") that some loaded library exports, found with
// dlsym(RTLD_DEFAULT); empty when none does. Call on the main thread, where the tweak writes them.
std::vector<ThemeStateMember> readThemeState();

// "#RRGGBB" (with " alpha A" when alpha is not 1) for a colour that answers getRed:green:blue:alpha:,
// "nil" for nil, "(not an RGB colour)" otherwise.
std::string hexStringFromColor(id color);

}  // namespace music
