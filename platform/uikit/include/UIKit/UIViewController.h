// UIViewController: a lazily loaded root view, child controllers and the appearance callbacks.
#pragma once

#include <UIKit/UIResponder.h>
#include <UIKit/UIView.h>

#include <vector>

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
};

// UIStatusBarStyle values.
enum : long {
    UIStatusBarStyleDefault = 0,
    UIStatusBarStyleLightContent = 1,
};

namespace platform {

// Sends viewWillAppear: (or viewDidAppear: when `did`) to the controller and then to each of
// its children, parents first, as UIKit does when a controller's view enters a window.
void forwardAppearance(UIViewController* controller, bool did, bool animated);

}  // namespace platform
