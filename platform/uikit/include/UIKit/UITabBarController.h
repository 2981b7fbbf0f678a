// UITabBarController: the container that shows one child at a time above a tab bar.
#pragma once

#include <UIKit/UITabBar.h>
#include <UIKit/UIViewController.h>

// Selectors (types as sent):
//   - (id)viewControllers, setViewControllers:(id NSArray), setViewControllers:animated:
//        the children, in tab order; the tab bar shows each child's tabBarItem
//   - (id)tabBar   made with the controller, laid out along the bottom of its view
//   - (unsigned long)selectedIndex, setSelectedIndex:(unsigned long), (id)selectedViewController,
//     setSelectedViewController:(id)   an index past the end is ignored
//   - (id)childViewControllerForStatusBarStyle   the selected child
// Its view is a UILayoutContainerView holding a UITransitionView > UIViewControllerWrapperView >
// the selected child's view, and the tab bar over it. The selected child's view fills the
// container under a translucent bar and ends at the bar's top edge under an opaque one. Changing
// the tab while shown sends the old child viewWillDisappear:/viewDidDisappear: and the new one
// viewWillAppear:/viewDidAppear:.
class UITabBarController : public UIViewController {
public:
    static Class class_();

    objc::Strong<UITabBar> tabBar;
    objc::Strong<UIView> transitionView;
    objc::Strong<UIView> wrapperView;
    unsigned long selectedIndex = 0;
};
