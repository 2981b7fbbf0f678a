// UIAlertController and UIAlertAction: alerts and action sheets, built from UIKit's private action views.
#pragma once

#include <UIKit/UIImage.h>
#include <UIKit/UIViewController.h>

#include <vector>

// UIAlertAction selectors: + actionWithTitle:(id)style:(long)handler:(id)   the stand-in has no
// blocks, so the handler is ignored and callers pass nil; - (id)title, (long)style, (BOOL)isEnabled,
// setEnabled:(BOOL), (id)image, setImage:(id UIImage)   the glyph shown beside the title.
class UIAlertAction : public NSObject {
public:
    static Class class_();

    objc::Strong<objc_object> title;
    long style = 0;
    bool enabled = true;
    objc::Strong<UIImage> image;
};

// UIAlertController selectors (types as sent):
//   + alertControllerWithTitle:(id)message:(id)preferredStyle:(long)
//   - (id)title, (id)message, setMessage:(id), (long)preferredStyle, (id)actions, addAction:(id)
// Its modal presentation style is custom, so the presenter stays on screen behind it. Its view,
// filling the screen, holds a UIDimmingView and, for each group of actions, a _UISizeTrackingView
// (rounded) with a _UIDimmingKnockoutBackdropView behind, the _UIInterfaceActionGroupHeaderScrollView
// with the title and message labels, and a UIStackView of _UIAlertControllerActionViews, each
// holding a _UIInterfaceActionSystemRepresentationView (its title label and, for an action with an
// image, an _UIInterfaceActionImagePropertyView), with an _UIInterfaceActionItemSeparatorView_iOS
// before each. An alert is 270 points wide in the middle of the screen, its two actions side by
// side; an action sheet spans the screen's width at the bottom, its cancel action in a group of its
// own below the others. Action titles take the representation view's tintColor, destructive ones red.
class UIAlertController : public UIViewController {
public:
    static Class class_();

    objc::Strong<objc_object> message;
    long preferredStyle = 0;
    std::vector<objc::Strong<UIAlertAction>> actions;
};

// UIAlertControllerStyle and UIAlertActionStyle values.
constexpr long UIAlertControllerStyleActionSheet = 0;
constexpr long UIAlertControllerStyleAlert = 1;
constexpr long UIAlertActionStyleDefault = 0;
constexpr long UIAlertActionStyleCancel = 1;
constexpr long UIAlertActionStyleDestructive = 2;
