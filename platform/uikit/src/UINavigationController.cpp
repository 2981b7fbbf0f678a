// UINavigationController: a stack of children, the top one shown in UIKit's container views below the bar.
#include "Collections.h"
#include "Containers.h"
#include "Registration.h"

#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreen.h>

namespace {

Class gUINavigationController = nullptr;

bool isNavigationBarClass(Class cls) {
    for (Class c = cls; c; c = class_getSuperclass(c))
        if (c == UINavigationBar::class_()) return true;
    return false;
}

UINavigationBar* barOf(UINavigationController* self) {
    if (!self->navigationBar) {
        Class cls = self->navigationBarClass ? self->navigationBarClass : UINavigationBar::class_();
        self->navigationBar = platform::uikit::newView<UINavigationBar>(cls);
    }
    return self->navigationBar.get();
}

UIViewController* topOf(UINavigationController* self) { return self->children.empty() ? nullptr : self->children.back().get(); }

// The bar's items follow the stack: one navigation item per controller, bottom first.
void showItems(UINavigationController* self) {
    std::vector<id> items;
    for (auto& child : self->children) items.push_back(msg<id>(child.get(), sel<"navigationItem">()));
    msg<void>(barOf(self), sel<"setItems:animated:">(), platform::uikit::arrayWithObjects(items), NO);
}

void showTop(UINavigationController* self, bool animated) {
    if (!self->view) return;
    UIViewController* top = topOf(self);
    UIViewController* outgoing = self->shownController;
    platform::uikit::showChild(self, self->wrapperView.get(), outgoing, top, animated);
    self->shownController = top;
    self->view->needsLayout = true;
}

void push(UINavigationController* self, UIViewController* controller, bool animated) {
    if (!controller || controller->parent) return;
    msg<void>(self, sel<"addChildViewController:">(), static_cast<id>(controller));
    msg<void>(controller, sel<"didMoveToParentViewController:">(), static_cast<id>(self));
    showItems(self);
    showTop(self, animated);
}

id pop(UINavigationController* self, bool animated) {
    if (self->children.size() < 2) return nil;
    auto popped = self->children.back();
    msg<void>(popped.get(), sel<"willMoveToParentViewController:">(), static_cast<id>(nil));
    msg<void>(popped.get(), sel<"removeFromParentViewController">());
    showItems(self);
    showTop(self, animated);
    return objc::autorelease(static_cast<id>(popped.release()));
}

void loadNavigationView(UINavigationController* self) {
    CGRect bounds = UIScreen::mainScreenBounds();
    auto container = platform::uikit::containerView("UILayoutContainerView", bounds);
    self->transitionView = platform::uikit::containerView("UINavigationTransitionView", bounds);
    self->wrapperView = platform::uikit::containerView("UIViewControllerWrapperView", bounds);
    msg<void>(self->transitionView.get(), sel<"addSubview:">(), static_cast<id>(self->wrapperView.get()));
    msg<void>(container.get(), sel<"addSubview:">(), static_cast<id>(self->transitionView.get()));
    msg<void>(container.get(), sel<"addSubview:">(), static_cast<id>(barOf(self)));
    msg<void>(self, sel<"setView:">(), static_cast<id>(container.get()));
    showTop(self, false);
}

void layoutNavigationController(UINavigationController* self) {
    if (!self->view) return;
    CGSize size = self->view->frame.size;
    UINavigationBar* bar = barOf(self);
    double top = platform::statusBarHeight();
    msg<void>(bar, sel<"setFrame:">(), CGRect{{0, top}, {size.width, kNavigationBarHeight}});
    double contentTop = msg<BOOL>(bar, sel<"isTranslucent">()) ? 0 : top + kNavigationBarHeight;
    CGRect content{{0, contentTop}, {size.width, size.height - contentTop}};
    msg<void>(self->transitionView.get(), sel<"setFrame:">(), content);
    msg<void>(self->wrapperView.get(), sel<"setFrame:">(), CGRect{{0, 0}, content.size});
    if (UIViewController* shown = topOf(self); shown && shown->view)
        msg<void>(shown->view.get(), sel<"setFrame:">(), CGRect{{0, 0}, content.size});
}

}  // namespace

Class UINavigationController::class_() { return gUINavigationController; }

namespace platform::uikit {

void registerUINavigationController() {
    using objc::ClassBuilder;
    gUINavigationController =
        ClassBuilder<UINavigationController>("UINavigationController", UIViewController::class_())
            .method(sel<"initWithRootViewController:">(),
                    [](UINavigationController* self, SEL, UIViewController* root) {
                        id controller = msg<id>(self, sel<"init">());
                        push(self, root, false);
                        return controller;
                    })
            .method(sel<"initWithNavigationBarClass:toolbarClass:">(),
                    [](UINavigationController* self, SEL, Class barClass, Class) {
                        if (isNavigationBarClass(barClass)) self->navigationBarClass = barClass;
                        return msg<id>(self, sel<"init">());
                    })
            .method(sel<"loadView">(), [](UINavigationController* self, SEL) { loadNavigationView(self); })
            .method(sel<"navigationBar">(), [](UINavigationController* self, SEL) -> id { return barOf(self); })
            .method(sel<"pushViewController:animated:">(),
                    [](UINavigationController* self, SEL, UIViewController* controller, BOOL animated) { push(self, controller, animated); })
            .method(sel<"popViewControllerAnimated:">(), [](UINavigationController* self, SEL, BOOL animated) { return pop(self, animated); })
            .method(sel<"viewControllers">(),
                    [](UINavigationController* self, SEL) {
                        return arrayWithObjects(std::vector<id>(self->children.begin(), self->children.end()));
                    })
            .method(sel<"setViewControllers:animated:">(),
                    [](UINavigationController* self, SEL, id array, BOOL animated) {
                        if (self->view) showChild(self, self->wrapperView.get(), self->shownController, nullptr, animated);
                        self->shownController = nullptr;
                        replaceChildren(self, array);
                        showItems(self);
                        showTop(self, animated);
                    })
            .method(sel<"topViewController">(), [](UINavigationController* self, SEL) -> id { return topOf(self); })
            .method(sel<"visibleViewController">(),
                    [](UINavigationController* self, SEL) -> id {
                        UIViewController* top = topOf(self);
                        if (id presented = msg<id>(static_cast<id>(self), sel<"presentedViewController">())) return presented;
                        return top;
                    })
            .method(sel<"childViewControllerForStatusBarStyle">(), [](UINavigationController* self, SEL) -> id { return topOf(self); })
            .method(sel<"viewWillLayoutSubviews">(), [](UINavigationController* self, SEL) { layoutNavigationController(self); })
            .registerClass();
}

}  // namespace platform::uikit
