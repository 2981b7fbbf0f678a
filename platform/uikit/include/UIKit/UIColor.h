// UIColor: an immutable colour backed by a Core Graphics colour (RGB, monochrome or pattern).
#pragma once

#include <CoreGraphics/CGColor.h>
#include <objc/NSObject.h>

// Selectors (components are doubles; factories return autoreleased colours):
//   + colorWithRed:(double)green:(double)blue:(double)alpha:(double)      RGB
//   + colorWithWhite:(double)alpha:(double)                                monochrome
//   + colorWithHue:(double)saturation:(double)brightness:(double)alpha:(double)   RGB, hexcone HSV
//   + colorWithPatternImage:(id UIImage)    pattern; nil for a nil or bitmap-less image
//   + colorWithCGColor:(CGColorRef)         nil for NULL
//   - initWithRed:green:blue:alpha:, initWithWhite:alpha:, initWithHue:saturation:brightness:alpha:,
//     initWithCGColor:, initWithPatternImage:   (owned results)
//   + blackColor (white 0), darkGrayColor (1/3), grayColor (1/2), lightGrayColor (2/3), whiteColor (1),
//     clearColor (white 0, alpha 0) — monochrome; redColor, greenColor, blueColor, cyanColor,
//     yellowColor, magentaColor, orangeColor (1, 0.5, 0), purpleColor (0.5, 0, 0.5),
//     brownColor (0.6, 0.4, 0.2) — RGB; all opaque
//   - (CGColorRef)CGColor                    borrowed, valid while the colour lives
//   - (BOOL)getRed:(double*)green:(double*)blue:(double*)alpha:(double*)   RGB and monochrome
//   - (BOOL)getWhite:(double*)alpha:(double*)                              monochrome only
//   - (BOOL)getHue:(double*)saturation:(double*)brightness:(double*)alpha:(double*)  RGB and monochrome
//        All three answer NO and leave the outputs untouched when the colour cannot be read that
//        way (pattern colours); any output pointer may be NULL.
//   - colorWithAlphaComponent:(double)       same space and components, new alpha
//   - setFill, setStroke, set                on the current UIKit graphics context (if any)
//   - (BOOL)isEqual:(id)                     same space model and equal components
//   - (unsigned long)hash, (id)description   e.g. "UIExtendedSRGBColorSpace 1 0 0 1",
//                                            "UIExtendedGrayColorSpace 0 1", "UIPatternColor"
class UIColor : public NSObject {
public:
    static Class class_();
    ~UIColor() override;

    // Autoreleased colours for C++ callers inside the platform; the same as the class methods.
    static UIColor* colorWithRGBA(double red, double green, double blue, double alpha);
    static UIColor* colorWithWhite(double white, double alpha);
    static UIColor* colorWithCGColor(CGColorRef color);

    CGColorRef cgColor = nullptr;  // owned
};
