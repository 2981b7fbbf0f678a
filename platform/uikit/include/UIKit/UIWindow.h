// UIWindow: the root of a view tree shown on a screen, with a root view controller.
#pragma once

#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>

// A window starts hidden, as on the phone.
// Selectors:
//   - (id)screen (the main screen unless set), setScreen:(id)
//   - (id)rootViewController, setRootViewController:(id)   the controller's view fills the window;
//                                   a visible window forwards viewWillAppear:/viewDidAppear:
//   - makeKeyAndVisible            shows the window, makes it the application's key window and
//                                  registers it in the application's `windows`
//   - makeKeyWindow, (BOOL)isKeyWindow, (double)windowLevel, setWindowLevel:(double)
//   - (id)nextResponder            the shared application (nil before a host creates it)
// The keyboard it shows for its first responder: see <UIKit/UIKeyboard.h>.
class UIWindow : public UIView {
public:
    static Class class_();
    UIWindow();
    ~UIWindow() override;

    objc::Strong<objc_object> screen;
    objc::Strong<UIViewController> rootViewController;
    double windowLevel = 0;
    bool rootHasAppeared = false;
    UIView* firstResponder = nullptr;  // weak: the input resigns before it leaves the window
    objc::Strong<UIView> keyboard;     // the UIKeyboard shown for the first responder
};
