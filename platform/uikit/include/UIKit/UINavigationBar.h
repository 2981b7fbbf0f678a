// UINavigationBar: the bar above a navigation stack, with its bar tint, translucency and title.
#pragma once

#include <UIKit/UILabel.h>
#include <UIKit/UIView.h>

#include <map>
#include <vector>

// UINavigationItem: - initWithTitle:(id), (id)title, setTitle:(id), (id)leftBarButtonItem,
// setLeftBarButtonItem:, (id)leftBarButtonItems, setLeftBarButtonItems:(id NSArray) and the same
// for the right side; (id)titleView, setTitleView:(id).
class UINavigationItem : public NSObject {
public:
    static Class class_();
    objc::Strong<objc_object> title;
    std::vector<objc::Strong<objc_object>> leftItems, rightItems;  // UIBarButtonItems, from the edge inwards
    objc::Strong<UIView> titleView;
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
//        title in the foreground colour of titleTextAttributes (black without one), or its titleView;
//        and one _UIModernBarButton per bar button item of the top item (a back button titled
//        with the previous item's title where the top item has no left items), left items from
//        the leading edge, right items from the trailing edge. The buttons inherit the bar's
//        tintColor; an item's own tintColor is given to its button
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
    std::vector<objc::Strong<UIView>> itemButtons;  // the _UIModernBarButtons shown now
};

// UIBarStyle
constexpr long UIBarStyleDefault = 0;
constexpr long UIBarStyleBlack = 1;
