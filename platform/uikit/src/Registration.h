// What the UIKit sources share privately: each class's registration and small construction aids.
#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <objc/NSObject.h>

class UIView;
class UIWindow;

namespace platform::uikit {

// Registration, in the order registerUIKitClasses calls them (superclasses first).
void registerUIResponder();
void registerUIAppearance();
void registerUIColor();
void registerUIImage();
void registerUIFont();
void registerUIScreen();
void registerUITraitCollection();
void registerCALayer();
void registerUIView();
void registerUIWindow();
void registerUIApplication();
void registerUIViewController();
void registerUILabel();
void registerUIImageView();
void registerUIControl();
void registerUIButton();
void registerUIScrollView();
void registerUITextView();
void registerUITextField();
void registerUITableView();
void registerUITableViewCell();
void registerUICollectionView();
void registerUIStackView();
void registerUIActivityIndicatorView();
void registerUIRefreshControl();
void registerUINavigationBar();
void registerUITabBar();
void registerUIBarButtonItem();
void registerUITabBarController();
void registerUINavigationController();
void registerUIAlertController();
void registerUISearchBar();
void registerUIVisualEffectView();
void registerUIBezierPath();
void registerNSStringDrawing();
void registerPrivateClasses();

UIWindow* windowOfView(UIView* view);

// Gives the view's layer the colour the view's `backgroundColor` answers (asked by message), as
// the views of UIKit that re-read their colour during layout do.
void applyBackgroundColorToLayer(UIView* view);

// Draws a string in the current context as NSString's drawWithRect:options:attributes:context:
// does, without sending that message: for UIKit's own renderers (the keyboard's key caps), which
// on the phone draw their glyphs themselves.
void drawStringDirectly(id string, CGRect rect, long options, id attributes);

// Runs the implementation `superclass` has now for `sel` (replacements of it included), as a
// message to super does.
template <class R = void, class... A>
R callSuper(Class superclass, id self, SEL sel, A... args) {
    IMP imp = method_getImplementation(class_getInstanceMethod(superclass, sel));
    return objc::callIMP<R>(imp, self, sel, args...);
}

// A new view of class `cls` made with initWithFrame: (owned).
template <class T>
objc::Strong<T> newView(Class cls, CGRect frame = CGRectZero) {
    return objc::adopt(static_cast<T*>(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"initWithFrame:">(), frame)));
}

}  // namespace platform::uikit
