// The JSON form of a colour, shared by every command that prints colours.
#include "colour_json.h"

#include "UIColor+Tarnwick.h"

#include <CoreGraphics/CGColor.h>
#include <Foundation/NSString.h>
#include <UIKit/UIGraphics.h>

#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace obscuro::cli {

namespace {

const char* spaceName(id colour) {
    switch (CGColorSpaceGetModel(CGColorGetColorSpace(msg<CGColorRef>(colour, sel<"CGColor">())))) {
    case kCGColorSpaceModelRGB: return "rgb";
    case kCGColorSpaceModelMonochrome: return "white";
    case kCGColorSpaceModelPattern: return "pattern";
    default: return "other";
    }
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// The finite decimals between "name(" and ")", separated by commas; nothing when the text
// is not of that form or the count differs.
std::optional<std::vector<double>> functionArguments(std::string_view text, std::string_view name, std::size_t count) {
    if (text.size() < name.size() + 2 || text.substr(0, name.size()) != name || text[name.size()] != '(' ||
        text.back() != ')')
        return std::nullopt;
    text = text.substr(name.size() + 1, text.size() - name.size() - 2);
    std::vector<double> values;
    while (true) {
        auto comma = text.find(',');
        std::string_view field = trimmed(text.substr(0, comma));
        double value = 0;
        auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (field.empty() || error != std::errc() || end != field.data() + field.size() || !std::isfinite(value))
            return std::nullopt;
        values.push_back(value);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (values.size() != count) return std::nullopt;
    return values;
}

// A colour that paints with a small two-tone tile.
id patternColour() {
    Class colorClass = objc_getClass("UIColor");
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(2, 2), false, 1);
    msg<void>(msg<id>(colorClass, sel<"grayColor">()), sel<"setFill">());
    UIRectFill(CGRectMake(0, 0, 1, 1));
    id tile = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return msg<id>(colorClass, sel<"colorWithPatternImage:">(), tile);
}

}  // namespace

const char* const kColourForms =
    "a colour is one of: #RRGGBB (read like a theme colour), rgba(r,g,b,a) (decimals), white(w,a) (decimals), pattern";

id colourArgument(std::string_view text) {
    Class colorClass = objc_getClass("UIColor");
    if (text.starts_with('#')) return tw_colorFromHexString(objc::str(text));
    if (text == "pattern") return patternColour();
    if (auto v = functionArguments(text, "rgba", 4))
        return msg<id>(colorClass, sel<"colorWithRed:green:blue:alpha:">(), (*v)[0], (*v)[1], (*v)[2], (*v)[3]);
    if (auto v = functionArguments(text, "white", 2))
        return msg<id>(colorClass, sel<"colorWithWhite:alpha:">(), (*v)[0], (*v)[1]);
    return nil;
}

nlohmann::json colourJson(id colour) {
    if (!colour) return nullptr;
    nlohmann::json out;
    id hex = tw_hexStringFromColor(colour);
    out["hex"] = hex ? nlohmann::json(objc::utf8(hex)) : nlohmann::json(nullptr);
    double r = 0, g = 0, b = 0, a = 0;
    if (msg<BOOL>(colour, sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a))
        out["rgba"] = {r, g, b, a};
    else
        out["rgba"] = nullptr;
    out["space"] = spaceName(colour);
    return out;
}

}  // namespace obscuro::cli
