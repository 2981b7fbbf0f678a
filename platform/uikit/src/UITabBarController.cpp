// UITabBarController: children shown one at a time in UIKit's container views, above the tab bar.
#include "Collections.h"
#include "Containers.h"
#include "Registration.h"

#include <UIKit/UIScreen.h>
#include <UIKit/UITabBarController.h>

namespace {

Class gUITabBarController = nullptr;

UITabBar* tabBarOf(UITabBarController* self) {
    if (!self->tabBar) self->tabBar = platform::uikit::newView<UITabBar>(UITabBar::class_());
    return self->tabBar.get();
}

UIViewController* selectedChild(UITabBarController* self) {
    return self->selectedIndex < self->children.size() ? self->children[self->selectedIndex].get() : nullptr;
}

void showItems(UITabBarController* self) {
    std::vector<id> items;
    for (auto& child : self->children) items.push_back(msg<id>(child.get(), sel<"tabBarItem">()));
    UITabBar* bar = tabBarOf(self);
    msg<void>(bar, sel<"setItems:">(), platform::uikit::arrayWithObjects(items));
    if (UIViewController* child = selectedChild(self)) msg<void>(bar, sel<"setSelectedItem:">(), msg<id>(child, sel<"tabBarItem">()));
}

void select(UITabBarController* self, unsigned long index) {
    if (index >= self->children.size()) return;
    UIViewController* outgoing = selectedChild(self);
    self->selectedIndex = index;
    showItems(self);
    if (self->view) platform::uikit::showChild(self, self->wrapperView.get(), outgoing, selectedChild(self), false);
}

void setViewControllers(UITabBarController* self, id array) {
    UIViewController* outgoing = selectedChild(self);
    if (outgoing && self->wrapperView) platform::uikit::showChild(self, self->wrapperView.get(), outgoing, nullptr, false);
    platform::uikit::replaceChildren(self, array);
    if (self->selectedIndex >= self->children.size()) self->selectedIndex = 0;
    showItems(self);
    if (self->view) platform::uikit::showChild(self, self->wrapperView.get(), nullptr, selectedChild(self), false);
}

void loadTabBarView(UITabBarController* self) {
    CGRect bounds = UIScreen::mainScreenBounds();
    auto container = platform::uikit::containerView("UILayoutContainerView", bounds);
    self->transitionView = platform::uikit::containerView("UITransitionView", bounds);
    self->wrapperView = platform::uikit::containerView("UIViewControllerWrapperView", bounds);
    msg<void>(self->transitionView.get(), sel<"addSubview:">(), static_cast<id>(self->wrapperView.get()));
    msg<void>(container.get(), sel<"addSubview:">(), static_cast<id>(self->transitionView.get()));
    msg<void>(container.get(), sel<"addSubview:">(), static_cast<id>(tabBarOf(self)));
    msg<void>(self, sel<"setView:">(), static_cast<id>(container.get()));
    if (UIViewController* child = selectedChild(self)) platform::uikit::showChild(self, self->wrapperView.get(), nullptr, child, false);
}

// The bar along the bottom, over the home indicator area; the content under a translucent bar.
void layoutTabBarController(UITabBarController* self) {
    if (!self->view) return;
    CGSize size = self->view->frame.size;
    UITabBar* bar = tabBarOf(self);
    double barHeight = msg<CGSize>(bar, sel<"sizeThatFits:">(), size).height + platform::homeIndicatorHeight();
    msg<void>(bar, sel<"setFrame:">(), CGRect{{0, size.height - barHeight}, {size.width, barHeight}});
    bool translucent = msg<BOOL>(bar, sel<"isTranslucent">());
    CGRect content{{0, 0}, {size.width, translucent ? size.height : size.height - barHeight}};
    msg<void>(self->transitionView.get(), sel<"setFrame:">(), content);
    msg<void>(self->wrapperView.get(), sel<"setFrame:">(), CGRect{{0, 0}, content.size});
    if (UIViewController* child = selectedChild(self); child && child->view)
        msg<void>(child->view.get(), sel<"setFrame:">(), CGRect{{0, 0}, content.size});
}

}  // namespace

Class UITabBarController::class_() { return gUITabBarController; }

namespace platform::uikit {

void registerUITabBarController() {
    using objc::ClassBuilder;
    gUITabBarController =
        ClassBuilder<UITabBarController>("UITabBarController", UIViewController::class_())
            .method(sel<"loadView">(), [](UITabBarController* self, SEL) { loadTabBarView(self); })
            .method(sel<"tabBar">(), [](UITabBarController* self, SEL) -> id { return tabBarOf(self); })
            .method(sel<"viewControllers">(),
                    [](UITabBarController* self, SEL) {
                        return arrayWithObjects(std::vector<id>(self->children.begin(), self->children.end()));
                    })
            .method(sel<"setViewControllers:">(), [](UITabBarController* self, SEL, id array) { setViewControllers(self, array); })
            .method(sel<"setViewControllers:animated:">(),
                    [](UITabBarController* self, SEL, id array, BOOL) { setViewControllers(self, array); })
            .method(sel<"selectedIndex">(), [](UITabBarController* self, SEL) { return self->selectedIndex; })
            .method(sel<"setSelectedIndex:">(), [](UITabBarController* self, SEL, unsigned long index) { select(self, index); })
            .method(sel<"selectedViewController">(), [](UITabBarController* self, SEL) -> id { return selectedChild(self); })
            .method(sel<"setSelectedViewController:">(),
                    [](UITabBarController* self, SEL, UIViewController* child) {
                        for (unsigned long i = 0; i < self->children.size(); ++i)
                            if (self->children[i].get() == child) select(self, i);
                    })
            .method(sel<"childViewControllerForStatusBarStyle">(), [](UITabBarController* self, SEL) -> id { return selectedChild(self); })
            .method(sel<"viewWillLayoutSubviews">(), [](UITabBarController* self, SEL) { layoutTabBarController(self); })
            .registerClass();
}

}  // namespace platform::uikit
