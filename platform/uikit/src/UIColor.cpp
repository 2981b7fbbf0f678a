// UIColor: colour construction in RGB, grey, HSB and pattern form, the three component views, equality.
#include "Registration.h"

#include <CoreGraphics/CGContext.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImage.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

Class gUIColor = nullptr;

// Device spaces are made once and kept for the process, as the phone's shared spaces are.
CGColorSpaceRef rgbSpace() {
    static CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    return space;
}

CGColorSpaceRef graySpace() {
    static CGColorSpaceRef space = CGColorSpaceCreateDeviceGray();
    return space;
}

CGColorSpaceModel modelOf(UIColor* color) { return CGColorSpaceGetModel(CGColorGetColorSpace(color->cgColor)); }

// Takes over `cgColor` (owned) and returns the receiver, or releases it and answers nil.
id initWithCGColorOwned(UIColor* self, CGColorRef cgColor) {
    if (!cgColor) {
        objc_release(self);
        return nil;
    }
    CGColorRelease(self->cgColor);
    self->cgColor = cgColor;
    return self;
}

id initRGBA(UIColor* self, double r, double g, double b, double a) {
    const CGFloat components[] = {r, g, b, a};
    return initWithCGColorOwned(self, CGColorCreate(rgbSpace(), components));
}

id initWhite(UIColor* self, double white, double alpha) {
    const CGFloat components[] = {white, alpha};
    return initWithCGColorOwned(self, CGColorCreate(graySpace(), components));
}

// The hexcone model: hue, saturation and brightness all from 0 to 1; a hue of 1 is a hue of 0.
void rgbFromHSB(double hue, double saturation, double brightness, double rgb[3]) {
    double h = std::fmod(hue, 1.0);
    if (h < 0) h += 1.0;
    h *= 6.0;
    int sector = static_cast<int>(std::floor(h)) % 6;
    double f = h - std::floor(h);
    double v = brightness, s = saturation;
    double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    const double table[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
    std::copy(table[sector], table[sector] + 3, rgb);
}

void hsbFromRGB(double r, double g, double b, double* hue, double* saturation, double* brightness) {
    double max = std::max({r, g, b}), min = std::min({r, g, b}), delta = max - min;
    double h = 0;
    if (delta > 0) {
        if (max == r) h = (g - b) / delta;
        else if (max == g) h = 2 + (b - r) / delta;
        else h = 4 + (r - g) / delta;
        h /= 6;
        if (h < 0) h += 1;
    }
    *hue = h;
    *saturation = max > 0 ? delta / max : 0;
    *brightness = max;
}

id initHSBA(UIColor* self, double hue, double saturation, double brightness, double alpha) {
    double rgb[3];
    rgbFromHSB(hue, saturation, brightness, rgb);
    return initRGBA(self, rgb[0], rgb[1], rgb[2], alpha);
}

id initPattern(UIColor* self, UIImage* image) {
    return initWithCGColorOwned(self, CGColorCreateWithPatternImage(image ? image->cgImage : nullptr));
}

UIColor* newColor() { return static_cast<UIColor*>(class_createInstance(gUIColor)); }

// Reads red, green, blue and alpha from an RGB or monochrome colour; false otherwise.
bool readRGBA(UIColor* self, double out[4]) {
    const CGFloat* c = CGColorGetComponents(self->cgColor);
    switch (modelOf(self)) {
    case kCGColorSpaceModelRGB:
        std::copy(c, c + 4, out);
        return true;
    case kCGColorSpaceModelMonochrome:
        out[0] = out[1] = out[2] = c[0];
        out[3] = c[1];
        return true;
    default:
        return false;
    }
}

void store(double* out, double value) {
    if (out) *out = value;
}

std::string formatComponent(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

id describe(UIColor* self) {
    const CGFloat* c = CGColorGetComponents(self->cgColor);
    std::string text;
    switch (modelOf(self)) {
    case kCGColorSpaceModelRGB:
        text = "UIExtendedSRGBColorSpace " + formatComponent(c[0]) + " " + formatComponent(c[1]) + " " + formatComponent(c[2]) +
               " " + formatComponent(c[3]);
        break;
    case kCGColorSpaceModelMonochrome:
        text = "UIExtendedGrayColorSpace " + formatComponent(c[0]) + " " + formatComponent(c[1]);
        break;
    case kCGColorSpaceModelPattern:
        text = "UIPatternColor";
        break;
    default:
        text = "UIColor";
        break;
    }
    return objc::str(text);
}

unsigned long hashOf(UIColor* self) {
    std::size_t h = std::hash<int>{}(static_cast<int>(modelOf(self)));
    if (modelOf(self) == kCGColorSpaceModelPattern)
        return h ^ std::hash<const void*>{}(CGColorGetPatternImage(self->cgColor));
    const CGFloat* c = CGColorGetComponents(self->cgColor);
    for (std::size_t i = 0, n = CGColorGetNumberOfComponents(self->cgColor); i < n; ++i)
        h = h * 31 + std::hash<double>{}(c[i] == 0 ? 0.0 : c[i]);  // +0 and -0 are equal colours
    return h;
}

template <auto Init, class... A>
id makeColor(A... args) {
    return objc::autorelease(Init(newColor(), args...));
}

// The named colours are made once and shared, as the phone's are.
template <int Index>
id sharedColor(double r, double g, double b, double a, bool gray) {
    static UIColor* color = static_cast<UIColor*>(gray ? initWhite(newColor(), r, a) : initRGBA(newColor(), r, g, b, a));
    return color;
}

}  // namespace

Class UIColor::class_() { return gUIColor; }

UIColor::~UIColor() { CGColorRelease(cgColor); }

UIColor* UIColor::colorWithRGBA(double red, double green, double blue, double alpha) {
    return static_cast<UIColor*>(makeColor<initRGBA>(red, green, blue, alpha));
}

UIColor* UIColor::colorWithWhite(double white, double alpha) { return static_cast<UIColor*>(makeColor<initWhite>(white, alpha)); }

UIColor* UIColor::colorWithCGColor(CGColorRef color) {
    if (!color) return nullptr;
    return static_cast<UIColor*>(objc::autorelease(initWithCGColorOwned(newColor(), CGColorRetain(color))));
}

namespace platform::uikit {

void registerUIColor() {
    using objc::ClassBuilder;
    gUIColor =
        ClassBuilder<UIColor>("UIColor", NSObject::class_())
            .classMethod(sel<"colorWithRed:green:blue:alpha:">(),
                         [](Class, SEL, double r, double g, double b, double a) { return makeColor<initRGBA>(r, g, b, a); })
            .classMethod(sel<"colorWithWhite:alpha:">(), [](Class, SEL, double w, double a) { return makeColor<initWhite>(w, a); })
            .classMethod(sel<"colorWithHue:saturation:brightness:alpha:">(),
                         [](Class, SEL, double h, double s, double b, double a) { return makeColor<initHSBA>(h, s, b, a); })
            .classMethod(sel<"colorWithPatternImage:">(), [](Class, SEL, UIImage* image) { return makeColor<initPattern>(image); })
            .classMethod(sel<"colorWithCGColor:">(), [](Class, SEL, CGColorRef color) -> id { return UIColor::colorWithCGColor(color); })
            .classMethod(sel<"blackColor">(), [](Class, SEL) { return sharedColor<0>(0, 0, 0, 1, true); })
            .classMethod(sel<"darkGrayColor">(), [](Class, SEL) { return sharedColor<1>(1.0 / 3.0, 0, 0, 1, true); })
            .classMethod(sel<"grayColor">(), [](Class, SEL) { return sharedColor<2>(0.5, 0, 0, 1, true); })
            .classMethod(sel<"lightGrayColor">(), [](Class, SEL) { return sharedColor<3>(2.0 / 3.0, 0, 0, 1, true); })
            .classMethod(sel<"whiteColor">(), [](Class, SEL) { return sharedColor<4>(1, 0, 0, 1, true); })
            .classMethod(sel<"clearColor">(), [](Class, SEL) { return sharedColor<5>(0, 0, 0, 0, true); })
            .classMethod(sel<"redColor">(), [](Class, SEL) { return sharedColor<6>(1, 0, 0, 1, false); })
            .classMethod(sel<"greenColor">(), [](Class, SEL) { return sharedColor<7>(0, 1, 0, 1, false); })
            .classMethod(sel<"blueColor">(), [](Class, SEL) { return sharedColor<8>(0, 0, 1, 1, false); })
            .classMethod(sel<"cyanColor">(), [](Class, SEL) { return sharedColor<9>(0, 1, 1, 1, false); })
            .classMethod(sel<"yellowColor">(), [](Class, SEL) { return sharedColor<10>(1, 1, 0, 1, false); })
            .classMethod(sel<"magentaColor">(), [](Class, SEL) { return sharedColor<11>(1, 0, 1, 1, false); })
            .classMethod(sel<"orangeColor">(), [](Class, SEL) { return sharedColor<12>(1, 0.5, 0, 1, false); })
            .classMethod(sel<"purpleColor">(), [](Class, SEL) { return sharedColor<13>(0.5, 0, 0.5, 1, false); })
            .classMethod(sel<"brownColor">(), [](Class, SEL) { return sharedColor<14>(0.6, 0.4, 0.2, 1, false); })
            .method(sel<"initWithRed:green:blue:alpha:">(),
                    [](UIColor* self, SEL, double r, double g, double b, double a) { return initRGBA(self, r, g, b, a); })
            .method(sel<"initWithWhite:alpha:">(), [](UIColor* self, SEL, double w, double a) { return initWhite(self, w, a); })
            .method(sel<"initWithHue:saturation:brightness:alpha:">(),
                    [](UIColor* self, SEL, double h, double s, double b, double a) { return initHSBA(self, h, s, b, a); })
            .method(sel<"initWithPatternImage:">(), [](UIColor* self, SEL, UIImage* image) { return initPattern(self, image); })
            .method(sel<"initWithCGColor:">(),
                    [](UIColor* self, SEL, CGColorRef color) { return initWithCGColorOwned(self, CGColorRetain(color)); })
            .method(sel<"CGColor">(), [](UIColor* self, SEL) { return self->cgColor; })
            .method(sel<"getRed:green:blue:alpha:">(),
                    [](UIColor* self, SEL, double* r, double* g, double* b, double* a) {
                        double rgba[4];
                        if (!readRGBA(self, rgba)) return NO;
                        store(r, rgba[0]), store(g, rgba[1]), store(b, rgba[2]), store(a, rgba[3]);
                        return YES;
                    })
            .method(sel<"getWhite:alpha:">(),
                    [](UIColor* self, SEL, double* white, double* alpha) {
                        if (modelOf(self) != kCGColorSpaceModelMonochrome) return NO;
                        const CGFloat* c = CGColorGetComponents(self->cgColor);
                        store(white, c[0]), store(alpha, c[1]);
                        return YES;
                    })
            .method(sel<"getHue:saturation:brightness:alpha:">(),
                    [](UIColor* self, SEL, double* hue, double* saturation, double* brightness, double* alpha) {
                        double rgba[4];
                        if (!readRGBA(self, rgba)) return NO;
                        double h, s, b;
                        hsbFromRGB(rgba[0], rgba[1], rgba[2], &h, &s, &b);
                        store(hue, h), store(saturation, s), store(brightness, b), store(alpha, rgba[3]);
                        return YES;
                    })
            .method(sel<"colorWithAlphaComponent:">(),
                    [](UIColor* self, SEL, double alpha) {
                        return objc::autorelease(initWithCGColorOwned(newColor(), CGColorCreateCopyWithAlpha(self->cgColor, alpha)));
                    })
            .method(sel<"setFill">(), [](UIColor* self, SEL) { CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(), self->cgColor); })
            .method(sel<"setStroke">(),
                    [](UIColor* self, SEL) { CGContextSetStrokeColorWithColor(UIGraphicsGetCurrentContext(), self->cgColor); })
            .method(sel<"set">(),
                    [](UIColor* self, SEL) {
                        CGContextSetFillColorWithColor(UIGraphicsGetCurrentContext(), self->cgColor);
                        CGContextSetStrokeColorWithColor(UIGraphicsGetCurrentContext(), self->cgColor);
                    })
            .method(sel<"isEqual:">(),
                    [](UIColor* self, SEL, id other) {
                        if (other == self) return YES;
                        if (!object_isKindOfClass(other, gUIColor)) return NO;
                        return CGColorEqualToColor(self->cgColor, static_cast<UIColor*>(other)->cgColor);
                    })
            .method(sel<"hash">(), [](UIColor* self, SEL) { return hashOf(self); })
            .method(sel<"description">(), [](UIColor* self, SEL) { return describe(self); })
            .registerClass();
}

}  // namespace platform::uikit
