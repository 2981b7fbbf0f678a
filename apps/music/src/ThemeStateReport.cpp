// Reading the exported ThemeState variables and writing colours as hex strings.
#include "ThemeStateReport.h"

#include <Foundation/NSString.h>
#include <objc/message.h>

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cstdio>

namespace music {

namespace {

constexpr std::array kColorMembers = {"bgColor", "darkerBgColor", "mainTextColor", "barColor", "tintColor", "textDrawingColor"};

int byteOf(double component) { return static_cast<int>(std::clamp(component, 0.0, 1.0) * 255.0); }

std::string quotedString(id string) {
    if (!string) return "nil";
    const char* utf8 = msg<const char*>(string, sel<"UTF8String">());
    return std::string("\"") + (utf8 ? utf8 : "") + "\"";
}

}  // namespace

std::string hexStringFromColor(id color) {
    if (!color) return "nil";
    double red = 0, green = 0, blue = 0, alpha = 0;
    if (!msg<BOOL>(color, sel<"respondsToSelector:">(), sel<"getRed:green:blue:alpha:">()) ||
        !msg<BOOL>(color, sel<"getRed:green:blue:alpha:">(), &red, &green, &blue, &alpha))
        return "(not an RGB colour)";
    char text[40];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", byteOf(red), byteOf(green), byteOf(blue));
    std::string out = text;
    if (alpha != 1.0) {
        std::snprintf(text, sizeof text, " alpha %.2f", alpha);
        out += text;
    }
    return out;
}

std::vector<ThemeStateMember> readThemeState() {
    std::vector<ThemeStateMember> members;
    for (const char* name : kColorMembers)
        if (auto* variable = static_cast<id*>(::dlsym(RTLD_DEFAULT, name))) members.push_back({name, hexStringFromColor(*variable)});
    if (auto* variable = static_cast<id*>(::dlsym(RTLD_DEFAULT, "theme"))) members.push_back({"theme", quotedString(*variable)});
    return members;
}

}  // namespace music
