// The JSON form of a colour, shared by every command that prints colours.
#include "colour_json.h"

#include "UIColor+Tarnwick.h"

#include <CoreGraphics/CGColor.h>
#include <Foundation/NSString.h>

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

}  // namespace

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
