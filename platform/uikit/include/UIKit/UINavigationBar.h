// UINavigationBar: the bar above a navigation stack, with its bar tint, translucency and title.
#pragma once

#include <UIKit/UILabel.h>
#include <UIKit/UIView.h>

#include <map>
#include <vector>

// UINavigationItem: - initWithTitle:(id), (id)title, setTitle:(id).
class UINavigationItem : public NSObject {
public:
    static Class class_();
    objc::Strong<objc_object> title;
};

// Selectors (types as sent):
//   - (id)barTintColor, setBarTintColor:(id)   nil by default
//   - (BOOL)translucent, (BOOL)isTranslucent, setTranslucent:(BOOL)   YES by default; isTranslucent
//        asks `translucent`, so that a replacement of that getter is what every reader sees
//   - (long)barStyle, setBarStyle:(long), (BOOL)prefersLargeTitles, setPrefersLargeTitles:(BOOL)
//   - (id)titleTextAttributes, setTitleTextAttributes:(id), (id)largeTitleTextAttributes and setter
//   - (id)shadowImage, setShadowImage:, (id)backIndicatorImage, setBackIndicatorImage:
//   - setBackgroundImage:(id)forBarMetrics:(long), (id)backgroundImageForBarMetrics:(long)
//   - (id)items (NSArray), setItems:(id)animated:(BOOL), pushNavigationItem:(id)animated:(BOOL),
//     (id)popNavigationItemAnimated:(BOOL), (id)topItem, (id)backItem
//   - (CGSize)sizeThatFits:   the given width, 44 points high
//   - layoutSubviews   keeps a _UIBarBackground as the bar's first subview, filling it: its
//        background colour is the bar's barTintColor (asked by message), else a light grey, that
//        is translucent while the bar is; and a UILabel centred in the bar showing the top item's
//        title in the foreground colour of titleTextAttributes (black without one)
class UINavigationBar : public UIView {
public:
    static Class class_();

    objc::Strong<UIColor> barTintColor;
    bool translucent = true;
    long barStyle = 0;
    bool prefersLargeTitles = false;
    objc::Strong<objc_object> titleTextAttributes;
    objc::Strong<objc_object> largeTitleTextAttributes;
    objc::Strong<objc_object> shadowImage;
    objc::Strong<objc_object> backIndicatorImage;
    std::map<long, objc::Strong<objc_object>> backgroundImages;  // by bar metrics
    std::vector<objc::Strong<UINavigationItem>> items;
    objc::Strong<UIView> barBackground;
    objc::Strong<UILabel> titleLabel;
};

// UIBarStyle
constexpr long UIBarStyleDefault = 0;
constexpr long UIBarStyleBlack = 1;
