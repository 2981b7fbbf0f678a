// UIView: the view tree with frames, tags, visibility, colours with tint inheritance, a layer and a layout pass.
#pragma once

#include <QuartzCore/CALayer.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIGeometry.h>
#include <UIKit/UIResponder.h>

#include <vector>

class UIViewController;

// The state behind UIView's selectors. Product code sends the selectors (so that method
// replacements see every call); hosts may read the fields directly where a replacement
// must not interfere, for instance when drawing.
//
// Selectors (types as sent; CGFloat = double, NSInteger = long, BOOL = bool):
//   - (id)initWithFrame:(CGRect), - (id)init (a zero frame); both apply recorded appearance
//     values (see <UIKit/UIAppearance.h>) after the view is fully set up
//   + (Class)layerClass                    CALayer; the layer is created by the view from it
//   - (CGRect)frame, setFrame:(CGRect), bounds, setBounds:(CGRect), (CGPoint)center, setCenter:
//   - (id)superview, (id)subviews (NSArray, back to front), (id)window
//   - addSubview:(id)                       moves the view from its old superview; re-adding a
//                                           subview brings it to the front; adding the view
//                                           itself or one of its ancestors is ignored
//   - insertSubview:(id)atIndex:(long), bringSubviewToFront:(id), sendSubviewToBack:(id)
//   - removeFromSuperview, (BOOL)isDescendantOfView:(id)
//   - willMoveToSuperview:(id), didMoveToSuperview, willMoveToWindow:(id), didMoveToWindow,
//     didAddSubview:(id), willRemoveSubview:(id)     stock: nothing; sent by the tree
//   - (long)tag, setTag:(long), (id)viewWithTag:(long)  (the receiver itself when it has the tag)
//   - (BOOL)hidden, (BOOL)isHidden, setHidden:(BOOL)
//   - (double)alpha, setAlpha:(double), (BOOL)isOpaque, setOpaque:(BOOL)
//   - (BOOL)clipsToBounds, setClipsToBounds:(BOOL), (BOOL)isUserInteractionEnabled,
//     setUserInteractionEnabled:(BOOL), (long)contentMode, setContentMode:(long)
//   - (id)backgroundColor, setBackgroundColor:(id)   also sets the layer's background CGColor
//   - (id)tintColor        the view's own tint, else its superview's `tintColor` (by message),
//                          else the system tint (0, 122/255, 1, 1) for a view without superview
//   - setTintColor:(id)    nil returns the view to inheriting; sends tintColorDidChange to the
//                          view and to every descendant that inherits
//   - tintColorDidChange   stock: nothing
//   - (id)layer
//   - setNeedsLayout, layoutIfNeeded (lays out every view of the subtree that needs it, parent
//     first), layoutSubviews (stock: nothing), setNeedsDisplay, drawRect:(CGRect) (stock: nothing)
//   - (CGSize)sizeThatFits:(CGSize) (stock: the current size), sizeToFit
//   - (CGSize)intrinsicContentSize   stock: UIViewNoIntrinsicMetric (-1) both ways; views with content
//                          (labels, image views, buttons, activity indicators) answer their sizeThatFits:
//   - (id)traitCollection
//   - (id)nextResponder    the controller whose root view this is, else the superview
//   + (id)appearance       the appearance proxy of the receiving class
class UIView : public UIResponder {
public:
    static Class class_();
    ~UIView() override;

    CGRect frame{};
    CGPoint boundsOrigin{};
    UIView* superview = nullptr;  // weak: the superview owns this view
    std::vector<objc::Strong<UIView>> subviews;
    UIViewController* viewController = nullptr;  // weak: set while this is a controller's root view
    long tag = 0;
    bool hidden = false;
    bool opaque = false;
    bool clipsToBounds = false;
    bool userInteractionEnabled = true;
    long contentMode = 0;
    double alpha = 1.0;
    bool needsLayout = true;
    objc::Strong<UIColor> backgroundColor;
    objc::Strong<UIColor> tintColor;  // the view's own tint; nil when it inherits
    objc::Strong<CALayer> layer;
};

constexpr double UIViewNoIntrinsicMetric = -1;

// UIViewContentMode values.
enum : long {
    UIViewContentModeScaleToFill = 0,
    UIViewContentModeScaleAspectFit = 1,
    UIViewContentModeScaleAspectFill = 2,
    UIViewContentModeCenter = 4,
};

namespace platform {

// One layout pass over a view tree: sends layoutSubviews to `view` and then, in order, to
// every view below it, each parent before its children. Each view's subviews are taken
// after its own layoutSubviews ran, so views added by a layout method are laid out too.
// Needs-layout flags are cleared. A nil view does nothing.
void layoutTree(UIView* view);

}  // namespace platform
