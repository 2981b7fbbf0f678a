// UINavigationController: the container that shows the top of a stack of controllers below a navigation bar.
#pragma once

#include <UIKit/UINavigationBar.h>
#include <UIKit/UIViewController.h>

// Selectors (types as sent):
//   - initWithRootViewController:(id), initWithNavigationBarClass:(Class)toolbarClass:(Class)
//        the bar is made from the class given (a UINavigationBar subclass), else UINavigationBar
//   - pushViewController:(id)animated:(BOOL), (id)popViewControllerAnimated:(BOOL)
//   - (id)viewControllers, setViewControllers:(id)animated:(BOOL), (id)topViewController,
//     (id)visibleViewController (what the top presents, else the top)
//   - (id)navigationBar   pushes each controller's navigationItem as the controller is pushed
//   - (id)childViewControllerForStatusBarStyle   the top controller
// Its view is a UILayoutContainerView holding a UINavigationTransitionView >
// UIViewControllerWrapperView > the top controller's view, and the bar below the status bar.
// The top view fills the container under a translucent bar (as `translucent` answers, asked at
// each layout) and starts below an opaque one. A push or pop while shown sends the appearance
// callbacks to the controllers that leave and enter.
class UINavigationController : public UIViewController {
public:
    static Class class_();

    Class navigationBarClass = nullptr;
    objc::Strong<UINavigationBar> navigationBar;
    objc::Strong<UIView> transitionView;
    objc::Strong<UIView> wrapperView;
    UIViewController* shownController = nullptr;  // weak: a child, whose view the wrapper holds
};

// Height of a navigation bar and of a tab bar's button row.
constexpr double kNavigationBarHeight = 44;
constexpr double kTabBarHeight = 49;
