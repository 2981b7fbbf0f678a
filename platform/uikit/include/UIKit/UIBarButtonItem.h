// UIBarButtonItem: a button of a navigation bar, with a title or an image and a target-action pair.
#pragma once

#include <UIKit/UITabBar.h>

// Selectors (types as sent):
//   - initWithTitle:(id)style:(long)target:(id)action:(SEL), initWithImage:(id)style:target:action:
//   - initWithCustomView:(id), (id)customView
//   - (long)style, (id)target (retained), (SEL)action, (id)tintColor, setTintColor:(id)
// A navigation bar shows each item of its top navigation item as a _UIModernBarButton (a system
// button, so its title and template glyph take the button's tintColor).
class UIBarButtonItem : public UIBarItem {
public:
    static Class class_();

    long style = 0;
    objc::Strong<objc_object> target;
    SEL action = nullptr;
    objc::Strong<UIView> customView;
    objc::Strong<UIColor> tintColor;
};

// UIBarButtonItemStyle
constexpr long UIBarButtonItemStylePlain = 0;
constexpr long UIBarButtonItemStyleDone = 2;
