// UIScreen: the main screen, its scale (pixels per point) and its bounds in points.
#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <objc/NSObject.h>

// Selectors: + (id)mainScreen; - (double)scale, (double)nativeScale, (CGRect)bounds,
// (CGRect)nativeBounds (in pixels), (id)traitCollection.
class UIScreen : public NSObject {
public:
    static Class class_();

    // The main screen's values as `scale` and `bounds` answer them.
    static double mainScreenScale();
    static CGRect mainScreenBounds();
};

namespace platform {

// The main screen's scale; 3.0 until a host sets another. Values that are not positive
// numbers are ignored. Thread-safe; images and contexts made afterwards use the new scale.
void setMainScreenScale(double scale);
// The main screen's size in points; 375 × 812 until a host sets another. Sizes that are
// not positive are ignored. Thread-safe.
void setMainScreenSize(CGSize size);

}  // namespace platform
