// UIFont: a font name, a point size and a weight; drawing with it comes from the renderer.
#pragma once

#include <objc/NSObject.h>

#include <string>

// Selectors: + systemFontOfSize:(double), + boldSystemFontOfSize:(double),
// + systemFontOfSize:(double)weight:(double), + fontWithName:(id)size:(double) (nil for a nil name);
// - (id)fontName, (id)familyName, (double)pointSize, (double)lineHeight (1.2 × size),
// (double)ascender, (double)descender, - fontWithSize:(double), (BOOL)isEqual:, (id)description.
class UIFont : public NSObject {
public:
    static Class class_();

    // An autoreleased system font, for C++ callers inside the platform.
    static UIFont* systemFont(double size, double weight = 0);

    std::string name;
    std::string family;
    double pointSize = 17;
    double weight = 0;  // UIFontWeight: 0 regular, 0.4 bold
};

// UIFontWeight values.
constexpr double UIFontWeightRegular = 0.0;
constexpr double UIFontWeightMedium = 0.23;
constexpr double UIFontWeightSemibold = 0.3;
constexpr double UIFontWeightBold = 0.4;
