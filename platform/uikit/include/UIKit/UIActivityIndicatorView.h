// UIActivityIndicatorView: the spinning progress indicator, in a style and a colour.
#pragma once

#include <UIKit/UIView.h>

// Selectors (types as sent):
//   - initWithActivityIndicatorStyle:(long)   37 × 37 points for the large style, 20 × 20 otherwise;
//        initWithFrame: gives the white style
//   - (long)activityIndicatorViewStyle, setActivityIndicatorViewStyle:(long)   a new style brings
//        its own colour: white for the white styles, grey (white 0.5) for the grey one
//   - (id)color, setColor:(id)   independent of tintColor, as on the phone before iOS 13
//   - startAnimating, stopAnimating, (BOOL)isAnimating
//   - (BOOL)hidesWhenStopped (YES), setHidesWhenStopped:   a stopped indicator that hides when
//        stopped is hidden (setHidden:), from its creation on
//   - drawRect:   twelve spokes in the colour `color` answers
class UIActivityIndicatorView : public UIView {
public:
    static Class class_();

    long style = 1;
    objc::Strong<UIColor> color;
    bool animating = false;
    bool hidesWhenStopped = true;
};

// UIActivityIndicatorViewStyle
constexpr long UIActivityIndicatorViewStyleWhiteLarge = 0;
constexpr long UIActivityIndicatorViewStyleWhite = 1;
constexpr long UIActivityIndicatorViewStyleGray = 2;
