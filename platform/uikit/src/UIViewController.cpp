// UIViewController: lazy view loading, containment and the responder link between views and their controller.
#include "Collections.h"
#include "Containers.h"
#include "Registration.h"

#include <UIKit/UIColor.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UITraitCollection.h>
#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>

#include <algorithm>

namespace {

Class gUIViewController = nullptr;

void attachView(UIViewController* controller, UIView* view) {
    if (controller->view) controller->view->viewController = nullptr;
    if (view && view->viewController && view->viewController != controller) view->viewController->view = nullptr;
    controller->view = objc::retain(view);
    if (view) view->viewController = controller;
}

// The view is loaded exactly once: loadView, then viewDidLoad. A loadView that leaves no view
// gets a plain one, so that `view` never answers nil and viewDidLoad never runs twice.
UIView* loadedView(UIViewController* self) {
    if (self->view || self->viewLoading) return self->view.get();
    self->viewLoading = true;
    msg<void>(self, sel<"loadView">());
    if (!self->view) {
        auto plain = objc::adopt(msg<id>(msg<id>(UIView::class_(), sel<"alloc">()), sel<"initWithFrame:">(), UIScreen::mainScreenBounds()));
        attachView(self, static_cast<UIView*>(plain.get()));
    }
    self->viewLoading = false;
    msg<void>(self, sel<"viewDidLoad">());
    return self->view.get();
}

void removeFromParent(UIViewController* child) {
    UIViewController* parent = child->parent;
    if (!parent) return;
    auto keep = objc::retain(child);
    auto& list = parent->children;
    list.erase(std::remove_if(list.begin(), list.end(), [&](auto& c) { return c.get() == child; }), list.end());
    child->parent = nullptr;
    msg<void>(child, sel<"didMoveToParentViewController:">(), static_cast<id>(nil));
}

void addChild(UIViewController* parent, UIViewController* child) {
    if (!child || child == parent) return;
    for (UIViewController* p = parent; p; p = p->parent)
        if (p == child) return;  // a controller cannot contain its own ancestor
    if (child->parent == parent) return;
    auto keep = objc::retain(child);
    if (child->parent) removeFromParent(child);
    msg<void>(child, sel<"willMoveToParentViewController:">(), parent);
    parent->children.push_back(keep);
    child->parent = parent;
}

UIViewController* outermost(UIViewController* controller) {
    while (controller->parent) controller = controller->parent;
    return controller;
}

bool keepsPresenterOnScreen(long style) {
    return style == UIModalPresentationPageSheet || style == UIModalPresentationFormSheet || style == UIModalPresentationCustom ||
           style == UIModalPresentationOverFullScreen || style == UIModalPresentationOverCurrentContext;
}

// The card sits below the status bar with its top corners rounded, over a dimmed presenter.
constexpr double kCardGap = 10;
constexpr double kCardCornerRadius = 10;

void present(UIViewController* presenter, UIViewController* presented, bool animated) {
    if (!presenter || !presented || presented == presenter) return;
    presenter = outermost(presenter);
    while (presenter->presented) presenter = presenter->presented.get();  // UIKit presents from the top of the chain
    if (presented->presenting || presented->parent || presenter == presented) return;
    auto* presenterView = static_cast<UIView*>(msg<id>(presenter, sel<"view">()));
    UIView* host = platform::uikit::windowOfView(presenterView);
    if (!host)
        for (host = presenterView; host && host->superview;) host = host->superview;
    if (!host) return;

    presenter->presented = objc::retain(presented);
    presented->presenting = presenter;
    long style = msg<long>(presented, sel<"modalPresentationStyle">());
    bool card = style == UIModalPresentationPageSheet || style == UIModalPresentationFormSheet;
    bool presenterStays = keepsPresenterOnScreen(style);
    CGRect bounds{{0, 0}, host->frame.size};

    auto* view = static_cast<UIView*>(msg<id>(presented, sel<"view">()));
    auto transition = platform::uikit::containerView("UITransitionView", bounds);
    presented->presentationView = transition;
    if (card) {
        auto dimming = platform::uikit::containerView("UIDimmingView", bounds);
        msg<void>(dimming.get(), sel<"setBackgroundColor:">(), static_cast<id>(UIColor::colorWithWhite(0, 0.4)));
        msg<void>(transition.get(), sel<"addSubview:">(), static_cast<id>(dimming.get()));
    }
    double top = card ? platform::statusBarHeight() + kCardGap : 0;
    msg<void>(view, sel<"setFrame:">(), CGRect{{0, top}, {bounds.size.width, bounds.size.height - top}});
    if (card) {
        id layer = msg<id>(view, sel<"layer">());
        msg<void>(layer, sel<"setCornerRadius:">(), kCardCornerRadius);
        msg<void>(layer, sel<"setMasksToBounds:">(), YES);
    }

    if (!presenterStays) platform::forwardDisappearance(presenter, false, animated);
    platform::forwardAppearance(presented, false, animated);
    msg<void>(transition.get(), sel<"addSubview:">(), static_cast<id>(view));
    msg<void>(host, sel<"addSubview:">(), static_cast<id>(transition.get()));
    platform::forwardAppearance(presented, true, animated);
    if (!presenterStays) platform::forwardDisappearance(presenter, true, animated);
}

void dismiss(UIViewController* self, bool animated) {
    UIViewController* presenter = self->presented ? self : self->presenting;
    if (!presenter || !presenter->presented) return;
    auto presented = presenter->presented;
    if (presented->presented) dismiss(presented, animated);  // what it presents goes first
    bool presenterStays = keepsPresenterOnScreen(msg<long>(presented.get(), sel<"modalPresentationStyle">()));
    platform::forwardDisappearance(presented, false, animated);
    if (!presenterStays) platform::forwardAppearance(presenter, false, animated);
    if (presented->presentationView) msg<void>(presented->presentationView.get(), sel<"removeFromSuperview">());
    if (presented->view) msg<void>(presented->view.get(), sel<"removeFromSuperview">());
    presented->presentationView = nullptr;
    presented->presenting = nullptr;
    presenter->presented = nullptr;
    platform::forwardDisappearance(presented, true, animated);
    if (!presenterStays) platform::forwardAppearance(presenter, true, animated);
}

// The nearest controller above (the receiver included) that is a kind of `cls`.
id enclosing(UIViewController* self, const char* name) {
    Class cls = objc_getClass(name);
    for (UIViewController* c = self ? self->parent : nullptr; c && cls; c = c->parent)
        if (object_isKindOfClass(c, cls)) return c;
    return nil;
}

// A bar item made on first use, titled as the controller is.
id lazyItem(UIViewController* self, objc::Strong<objc_object>& slot, const char* className) {
    if (!slot) {
        Class cls = objc_getClass(className);
        if (!cls) return nil;
        slot = objc::adopt(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"init">()));
        msg<void>(slot.get(), sel<"setTitle:">(), self->title.get());
    }
    return slot.get();
}

}  // namespace

Class UIViewController::class_() { return gUIViewController; }

UIViewController::~UIViewController() {
    if (view) view->viewController = nullptr;
    for (auto& child : children) child->parent = nullptr;
    if (presented) presented->presenting = nullptr;
}

namespace platform {

namespace {

bool isShownInside(UIViewController* child, UIViewController* parent) {
    return child->view && parent->view && msg<BOOL>(child->view.get(), sel<"isDescendantOfView:">(), static_cast<id>(parent->view.get()));
}

void forward(UIViewController* controller, SEL callback, bool animated) {
    if (!controller) return;
    msg<void>(controller, callback, animated);
    auto snapshot = controller->children;
    for (auto& child : snapshot)
        if (isShownInside(child, controller)) forward(child, callback, animated);
}

}  // namespace

void forwardAppearance(UIViewController* controller, bool did, bool animated) {
    forward(controller, did ? sel<"viewDidAppear:">() : sel<"viewWillAppear:">(), animated);
}

void forwardDisappearance(UIViewController* controller, bool did, bool animated) {
    forward(controller, did ? sel<"viewDidDisappear:">() : sel<"viewWillDisappear:">(), animated);
}

double statusBarHeight() { return UIScreen::mainScreenBounds().size.height >= 812 ? 44 : 20; }
double homeIndicatorHeight() { return UIScreen::mainScreenBounds().size.height >= 812 ? 34 : 0; }

UIViewController* statusBarStyleController(UIWindow* window) {
    if (!window) return nullptr;
    auto* controller = static_cast<UIViewController*>(msg<id>(window, sel<"rootViewController">()));
    while (id presented = msg<id>(controller, sel<"presentedViewController">())) controller = static_cast<UIViewController*>(presented);
    // A bounded walk: a child that names its own ancestor would otherwise loop for ever.
    for (int depth = 0; controller && depth < 64; ++depth) {
        id child = msg<id>(controller, sel<"childViewControllerForStatusBarStyle">());
        if (!child || child == controller) break;
        controller = static_cast<UIViewController*>(child);
    }
    return controller;
}

long statusBarStyle(UIWindow* window) {
    UIViewController* controller = statusBarStyleController(window);
    return controller ? msg<long>(controller, sel<"preferredStatusBarStyle">()) : UIStatusBarStyleDefault;
}

}  // namespace platform

namespace platform::uikit {

void registerUIViewController() {
    using objc::ClassBuilder;
    gUIViewController =
        ClassBuilder<UIViewController>("UIViewController", UIResponder::class_())
            .method(sel<"initWithNibName:bundle:">(), [](UIViewController* self, SEL, id, id) -> id { return self; })
            .method(sel<"init">(),
                    [](UIViewController* self, SEL) { return msg<id>(self, sel<"initWithNibName:bundle:">(), static_cast<id>(nil), static_cast<id>(nil)); })
            .method(sel<"view">(), [](UIViewController* self, SEL) -> id { return loadedView(self); })
            .method(sel<"setView:">(), [](UIViewController* self, SEL, UIView* view) { attachView(self, view); })
            .method(sel<"viewIfLoaded">(), [](UIViewController* self, SEL) -> id { return self->view.get(); })
            .method(sel<"isViewLoaded">(), [](UIViewController* self, SEL) { return static_cast<bool>(self->view); })
            .method(sel<"loadView">(),
                    [](UIViewController* self, SEL) {
                        auto view = objc::adopt(msg<id>(msg<id>(UIView::class_(), sel<"alloc">()), sel<"initWithFrame:">(),
                                                        UIScreen::mainScreenBounds()));
                        msg<void>(self, sel<"setView:">(), view.get());
                    })
            .method(sel<"viewDidLoad">(), [](UIViewController*, SEL) {})
            .method(sel<"viewWillAppear:">(), [](UIViewController*, SEL, BOOL) {})
            .method(sel<"viewDidAppear:">(), [](UIViewController*, SEL, BOOL) {})
            .method(sel<"viewWillDisappear:">(), [](UIViewController*, SEL, BOOL) {})
            .method(sel<"viewDidDisappear:">(), [](UIViewController*, SEL, BOOL) {})
            .method(sel<"viewWillLayoutSubviews">(), [](UIViewController*, SEL) {})
            .method(sel<"viewDidLayoutSubviews">(), [](UIViewController*, SEL) {})
            .method(sel<"parentViewController">(), [](UIViewController* self, SEL) -> id { return self->parent; })
            .method(sel<"childViewControllers">(),
                    [](UIViewController* self, SEL) -> id {
                        std::vector<id> list(self->children.begin(), self->children.end());
                        return arrayWithObjects(list);
                    })
            .method(sel<"addChildViewController:">(), [](UIViewController* self, SEL, UIViewController* child) { addChild(self, child); })
            .method(sel<"removeFromParentViewController">(), [](UIViewController* self, SEL) { removeFromParent(self); })
            .method(sel<"willMoveToParentViewController:">(), [](UIViewController*, SEL, id) {})
            .method(sel<"didMoveToParentViewController:">(), [](UIViewController*, SEL, id) {})
            .method(sel<"preferredStatusBarStyle">(), [](UIViewController*, SEL) -> long { return UIStatusBarStyleDefault; })
            .method(sel<"childViewControllerForStatusBarStyle">(), [](UIViewController*, SEL) -> id { return nil; })
            .method(sel<"navigationItem">(),
                    [](UIViewController* self, SEL) { return lazyItem(self, self->navigationItem, "UINavigationItem"); })
            .method(sel<"tabBarItem">(),
                    [](UIViewController* self, SEL) { return lazyItem(self, self->tabBarItem, "UITabBarItem"); })
            .method(sel<"setTabBarItem:">(), [](UIViewController* self, SEL, id item) { self->tabBarItem = objc::retain(item); })
            .method(sel<"navigationController">(),
                    [](UIViewController* self, SEL) { return enclosing(self, "UINavigationController"); })
            .method(sel<"tabBarController">(), [](UIViewController* self, SEL) { return enclosing(self, "UITabBarController"); })
            .method(sel<"presentViewController:animated:completion:">(),
                    [](UIViewController* self, SEL, UIViewController* controller, BOOL animated, id) { present(self, controller, animated); })
            .method(sel<"dismissViewControllerAnimated:completion:">(),
                    [](UIViewController* self, SEL, BOOL animated, id) { dismiss(self, animated); })
            .method(sel<"presentedViewController">(), [](UIViewController* self, SEL) -> id { return self->presented.get(); })
            .method(sel<"presentingViewController">(), [](UIViewController* self, SEL) -> id { return self->presenting; })
            .method(sel<"modalPresentationStyle">(), [](UIViewController* self, SEL) { return self->modalPresentationStyle; })
            .method(sel<"setModalPresentationStyle:">(),
                    [](UIViewController* self, SEL, long style) { self->modalPresentationStyle = style; })
            .method(sel<"setNeedsStatusBarAppearanceUpdate">(), [](UIViewController*, SEL) {})
            .method(sel<"title">(), [](UIViewController* self, SEL) -> id { return self->title.get(); })
            .method(sel<"setTitle:">(),
                    [](UIViewController* self, SEL, id title) {
                        self->title = copyOf(title);
                        msg<void>(self->navigationItem.get(), sel<"setTitle:">(), self->title.get());
                        msg<void>(self->tabBarItem.get(), sel<"setTitle:">(), self->title.get());
                    })
            .method(sel<"traitCollection">(),
                    [](UIViewController* self, SEL) -> id { return UITraitCollection::forScreenOf(self->view.get()); })
            .method(sel<"nextResponder">(),
                    [](UIViewController* self, SEL) -> id {
                        if (self->view && self->view->superview) return self->view->superview;
                        return self->parent;
                    })
            .registerClass();
}

}  // namespace platform::uikit
