// UIColor(Tarnwick): colour arithmetic, the light test and hex colour strings.
#include "UIColor+Tarnwick.h"

#include <CoreGraphics/CGColor.h>
#include <Foundation/Foundation.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace {

// 0.7 as the single-precision literal it was written as, widened: 0x3FE6666660000000.
constexpr double kLightThreshold = static_cast<double>(0.7f);
static_assert(kLightThreshold == 0.699999988079071);

Class colorClass() { return objc_getClass("UIColor"); }

id colorWithRGBA(double red, double green, double blue, double alpha) {
    return msg<id>(colorClass(), sel<"colorWithRed:green:blue:alpha:">(), red, green, blue, alpha);
}

struct RGBA {
    double red = 0, green = 0, blue = 0, alpha = 0;
};

// False for a colour with no RGBA view; the components then stay 0.
bool readRGBA(id color, RGBA& c) {
    return msg<BOOL>(color, sel<"getRed:green:blue:alpha:">(), &c.red, &c.green, &c.blue, &c.alpha);
}

struct HSBA {
    double hue = 0, saturation = 0, brightness = 0, alpha = 0;
};

bool readHSBA(id color, HSBA& c) {
    return msg<BOOL>(color, sel<"getHue:saturation:brightness:alpha:">(), &c.hue, &c.saturation, &c.brightness, &c.alpha);
}

id colorWithHSBA(const HSBA& c, double brightness) {
    return msg<id>(colorClass(), sel<"colorWithHue:saturation:brightness:alpha:">(), c.hue, c.saturation, brightness, c.alpha);
}

// component × 255 truncated toward zero into a signed 32-bit integer. Values beyond the
// integer's range saturate and NaN gives 0, as the phone's conversion instruction does,
// instead of the undefined behaviour of a plain cast.
int32_t byteValue(double component) {
    double scaled = component * 255.0;
    if (std::isnan(scaled)) return 0;
    if (scaled >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (scaled <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(scaled);
}

}  // namespace

BOOL isLightColor(id color) {
    if (!color) return NO;
    CGColorRef cgColor = msg<CGColorRef>(color, sel<"CGColor">());
    double luma = 0.0;
    if (CGColorSpaceGetModel(CGColorGetColorSpace(cgColor)) == kCGColorSpaceModelRGB) {
        const CGFloat* c = CGColorGetComponents(cgColor);
        luma = ((c[0] * 299 + c[1] * 587) + c[2] * 114) / 1000;
    } else {
        double white = 0.0;
        if (!msg<BOOL>(color, sel<"getWhite:alpha:">(), &white, static_cast<double*>(nullptr))) white = 0.0;
        luma = white;
    }
    return luma >= kLightThreshold;
}

id midColorFrom(id color, id other) {
    if (!color) return nil;
    if (CGColorGetNumberOfComponents(msg<CGColorRef>(color, sel<"CGColor">())) < 2) return color;
    RGBA a, b;
    if (!readRGBA(color, a) || !readRGBA(other, b)) return color;
    return colorWithRGBA((a.red + b.red) * 0.5, (a.green + b.green) * 0.5, (a.blue + b.blue) * 0.5,
                         (a.alpha + b.alpha) * 0.5);
}

id offsetColor(id color) {
    if (!color) return nil;
    if (isLightColor(color)) return midColorFrom(color, msg<id>(colorClass(), sel<"blackColor">()));
    return midColorFrom(color, msg<id>(colorClass(), sel<"whiteColor">()));
}

id inverseColor(id color) {
    if (!color) return nil;
    RGBA c;
    if (!readRGBA(color, c)) return color;
    return colorWithRGBA(1 - c.red, 1 - c.green, 1 - c.blue, c.alpha);
}

id lighterColor(id color) {
    HSBA c;
    if (!color || !readHSBA(color, c)) return nil;
    double brightness = c.brightness;
    // Brightness 0 cannot be raised by a factor: black starts from a dark grey instead.
    if (objc::utf8(tw_hexStringFromColor(color)) == "#000000") brightness = 0.06;
    return colorWithHSBA(c, std::min(brightness * 1.3, 1.0));
}

id darkerColor(id color) {
    HSBA c;
    if (!color || !readHSBA(color, c)) return nil;
    return colorWithHSBA(c, c.brightness * 0.75);
}

id tw_colorFromHexString(id string) {
    unsigned value = 0;
    // Positioning the scanner past the end of an empty string would raise; such a string
    // has no digits and reads as 0 like any other unreadable text.
    if (string && msg<BOOL>(string, sel<"isKindOfClass:">(), objc_getClass("NSString")) &&
        msg<unsigned long>(string, sel<"length">()) >= 1) {
        id scanner = msg<id>(objc_getClass("NSScanner"), sel<"scannerWithString:">(), string);
        msg<void>(scanner, sel<"setScanLocation:">(), 1UL);
        msg<BOOL>(scanner, sel<"scanHexInt:">(), &value);  // nothing read leaves 0: black
    }
    return colorWithRGBA(((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0, 1.0);
}

bool hexTextFromColor(id color, HexColorText* out) {
    out->text[0] = '\0';
    if (!color) return false;
    RGBA c;
    if (!readRGBA(color, c)) {
        double white = 0.0;
        if (!msg<BOOL>(color, sel<"getWhite:alpha:">(), &white, &c.alpha)) return false;
        c.red = c.green = c.blue = white;
    }
    const int32_t bytes[3] = {byteValue(c.red), byteValue(c.green), byteValue(c.blue)};
    if (std::all_of(bytes, bytes + 3, [](int32_t b) { return b >= 0 && b <= 255; })) {
        // The common case, written directly: formatting costs more than the rest of a decision.
        constexpr char kDigits[] = "0123456789ABCDEF";
        out->text[0] = '#';
        for (int i = 0; i < 3; ++i) {
            out->text[1 + 2 * i] = kDigits[bytes[i] >> 4];
            out->text[2 + 2 * i] = kDigits[bytes[i] & 0xF];
        }
        out->text[7] = '\0';
        return true;
    }
    // Components outside 0...1 print as they are (a negative one as eight digits): the
    // string stays an identity of the colour rather than folding distinct colours together.
    std::snprintf(out->text, sizeof out->text, "#%02X%02X%02X", static_cast<unsigned>(bytes[0]),
                  static_cast<unsigned>(bytes[1]), static_cast<unsigned>(bytes[2]));
    return true;
}

id tw_hexStringFromColor(id color) {
    HexColorText hex;
    return hexTextFromColor(color, &hex) ? objc::str(hex.text) : nil;
}
