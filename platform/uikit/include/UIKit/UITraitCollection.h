// UITraitCollection: the display traits a view or image is drawn for (scale, idiom, size classes).
#pragma once

#include <objc/NSObject.h>

class UIView;

// Selectors: + traitCollectionWithDisplayScale:(double), + traitCollectionWithUserInterfaceIdiom:(long);
// - (double)displayScale (0 = unspecified), (long)userInterfaceIdiom (0 phone; -1 unspecified),
// (long)horizontalSizeClass, (long)verticalSizeClass (0 unspecified, 1 compact, 2 regular),
// (BOOL)isEqual:(id).
class UITraitCollection : public NSObject {
public:
    static Class class_();

    // The traits of the screen a view is on (the main screen for nil or detached views),
    // autoreleased.
    static UITraitCollection* forScreenOf(UIView* view);

    double displayScale = 0;
    long userInterfaceIdiom = -1;
    long horizontalSizeClass = 0;
    long verticalSizeClass = 0;
};
