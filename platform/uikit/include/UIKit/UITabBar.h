// UITabBar and its items: the bar of tabs, its tints and the buttons that show the items.
#pragma once

#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIView.h>

#include <vector>

// UIBarItem: - (id)title, setTitle:, (id)image, setImage:, (long)tag, setTag:, (BOOL)isEnabled, setEnabled:.
class UIBarItem : public NSObject {
public:
    static Class class_();
    objc::Strong<objc_object> title;
    objc::Strong<UIImage> image;
    long tag = 0;
    bool enabled = true;
};

// UITabBarItem adds: - initWithTitle:(id)image:(id)tag:(long), initWithTitle:(id)image:(id)selectedImage:(id),
// (id)selectedImage, setSelectedImage:, (id)badgeValue, setBadgeValue:.
class UITabBarItem : public UIBarItem {
public:
    static Class class_();
    objc::Strong<UIImage> selectedImage;
    objc::Strong<objc_object> badgeValue;
};

// Selectors (types as sent):
//   - (id)items, setItems:(id NSArray), setItems:(id)animated:(BOOL), (id)selectedItem, setSelectedItem:(id)
//        setting items selects none; an item that is not among the items is not selected
//   - (id)barTintColor, setBarTintColor:(id), (id)unselectedItemTintColor, setUnselectedItemTintColor:(id)
//   - (BOOL)translucent, (BOOL)isTranslucent, setTranslucent:(BOOL), (long)barStyle, setBarStyle:(long)
//   - (id)backgroundImage, setBackgroundImage:, (id)shadowImage, setShadowImage:,
//     (id)selectionIndicatorImage, setSelectionIndicatorImage:
//   - (CGSize)sizeThatFits:   the given width, 49 points high
//   - layoutSubviews   keeps a _UIBarBackground as the first subview, filling the bar, coloured like
//        a navigation bar's (see <UIKit/UINavigationBar.h>); and one UITabBarButton per item, side
//        by side, each holding a UITabBarSwappableImageView and a UITabBarButtonLabel. A selected
//        item is drawn in the bar's tintColor, the others in unselectedItemTintColor (asked by
//        message), else grey (146/255): labels through setTextColor:, image views through
//        setTintColor: with the item's image made a template.
class UITabBar : public UIView {
public:
    static Class class_();

    std::vector<objc::Strong<UITabBarItem>> items;
    objc::Strong<UITabBarItem> selectedItem;
    objc::Strong<UIColor> barTintColor;
    objc::Strong<UIColor> unselectedItemTintColor;
    bool translucent = true;
    long barStyle = 0;
    objc::Strong<objc_object> backgroundImage;
    objc::Strong<objc_object> shadowImage;
    objc::Strong<objc_object> selectionIndicatorImage;
    objc::Strong<UIView> barBackground;

    // The views that show one item.
    struct ItemButton {
        objc::Strong<UIView> button;  // a UITabBarButton
        objc::Strong<UIImageView> imageView;
        objc::Strong<UILabel> label;
    };
    std::vector<ItemButton> buttons;  // one per item, in order
};
