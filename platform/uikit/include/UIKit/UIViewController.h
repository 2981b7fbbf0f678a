// UIViewController: a lazily loaded root view, child controllers and the appearance callbacks.
#pragma once

#include <UIKit/UIResponder.h>
#include <UIKit/UIView.h>

#include <vector>

class UIWindow;

// Selectors:
//   - (id)init, initWithNibName:(id)bundle:(id)
//   - (id)view        loads the view on first use: loadView, then viewDidLoad, exactly once
//   - setView:(id), (id)viewIfLoaded, (BOOL)isViewLoaded
//   - loadView        stock: a plain UIView the size of the main screen
//   - viewDidLoad, viewWillAppear:(BOOL), viewDidAppear:(BOOL), viewWillDisappear:(BOOL),
//     viewDidDisappear:(BOOL), viewWillLayoutSubviews, viewDidLayoutSubviews   stock: nothing
//   - (id)parentViewController, (id)childViewControllers (NSArray)
//   - addChildViewController:(id)      sends the child willMoveToParentViewController: first
//   - removeFromParentViewController   sends didMoveToParentViewController: nil afterwards
//   - willMoveToParentViewController:(id), didMoveToParentViewController:(id)   stock: nothing
//   - (long)preferredStatusBarStyle    0 (UIStatusBarStyleDefault)
//   - (id)childViewControllerForStatusBarStyle   nil: the controller decides its own style
//   - (id)navigationItem   a UINavigationItem made on first use, titled with the controller's title
//   - (id)tabBarItem, setTabBarItem:(id)   a UITabBarItem made on first use, titled likewise
//   - (id)navigationController, (id)tabBarController   the nearest container above, through parents
//   - presentViewController:(id)animated:(BOOL)completion:(id)   shows the controller's view over
//        the presenter's window in a UITransitionView: filling the window, or as a card below the
//        status bar for UIModalPresentationPageSheet and FormSheet. The presenting context is the
//        presenter's outermost parent. Sends the presented controller viewWillAppear: and
//        viewDidAppear: around it, and the presenter viewWillDisappear:/viewDidDisappear: unless
//        the style keeps it on screen (the card, over-full-screen, custom). A controller that
//        already presents one, or that is presented elsewhere, is not presented again. The stand-in
//        has no blocks: the completion is ignored and callers pass nil.
//   - dismissViewControllerAnimated:(BOOL)completion:(id)   dismisses what the receiver presents,
//        or, when it presents nothing, the receiver from its presenter; the reverse callbacks
//   - (id)presentedViewController, (id)presentingViewController
//   - (long)modalPresentationStyle, setModalPresentationStyle:(long)   0 full screen
//   - setNeedsStatusBarAppearanceUpdate, (id)title, setTitle:(id), (id)traitCollection
//   - (id)nextResponder   the superview of its view; the parent controller when the view has none
class UIViewController : public UIResponder {
public:
    static Class class_();
    ~UIViewController() override;

    objc::Strong<UIView> view;
    bool viewLoading = false;
    UIViewController* parent = nullptr;  // weak: the parent owns its children
    std::vector<objc::Strong<UIViewController>> children;
    objc::Strong<objc_object> title;
    objc::Strong<objc_object> navigationItem;
    objc::Strong<objc_object> tabBarItem;
    objc::Strong<UIViewController> presented;
    UIViewController* presenting = nullptr;  // weak: the presenter owns what it presents
    objc::Strong<UIView> presentationView;   // the UITransitionView holding the presented view
    long modalPresentationStyle = 0;
};

// UIModalPresentationStyle values.
enum : long {
    UIModalPresentationFullScreen = 0,
    UIModalPresentationPageSheet = 1,
    UIModalPresentationFormSheet = 2,
    UIModalPresentationCurrentContext = 3,
    UIModalPresentationCustom = 4,
    UIModalPresentationOverFullScreen = 5,
    UIModalPresentationOverCurrentContext = 6,
};

// UIStatusBarStyle values.
enum : long {
    UIStatusBarStyleDefault = 0,
    UIStatusBarStyleLightContent = 1,
};

namespace platform {

// Sends viewWillAppear: (or viewDidAppear: when `did`) to the controller and then to each child
// whose view is loaded inside the controller's view, parents first, as UIKit does when a
// controller's view enters a window: a tab bar controller's hidden tabs do not appear.
void forwardAppearance(UIViewController* controller, bool did, bool animated);
// The same with viewWillDisappear: and viewDidDisappear:.
void forwardDisappearance(UIViewController* controller, bool did, bool animated);

// The controller whose preferredStatusBarStyle the status bar of `window` shows: from the root
// view controller, the one it presents (to the last one presented), then, while a controller
// names a childViewControllerForStatusBarStyle, that child. Asked by message at each step.
UIViewController* statusBarStyleController(UIWindow* window);
// The style that controller prefers, UIStatusBarStyleDefault without one.
long statusBarStyle(UIWindow* window);

// Height of the status bar and of the home indicator area on the main screen: a screen as tall
// as the notched phones' has the taller status bar and an indicator area.
double statusBarHeight();
double homeIndicatorHeight();

}  // namespace platform
