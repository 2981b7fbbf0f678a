// UIViewController: lazy view loading, containment and the responder link between views and their controller.
#include "collections.h"
#include "registration.h"

#include <UIKit/UIScreen.h>
#include <UIKit/UITraitCollection.h>
#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>

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

}  // namespace

Class UIViewController::class_() { return gUIViewController; }

UIViewController::~UIViewController() {
    if (view) view->viewController = nullptr;
    for (auto& child : children) child->parent = nullptr;
}

namespace platform {

void forwardAppearance(UIViewController* controller, bool did, bool animated) {
    if (!controller) return;
    msg<void>(controller, did ? sel<"viewDidAppear:">() : sel<"viewWillAppear:">(), animated);
    auto snapshot = controller->children;
    for (auto& child : snapshot) forwardAppearance(child, did, animated);
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
            .method(sel<"setNeedsStatusBarAppearanceUpdate">(), [](UIViewController*, SEL) {})
            .method(sel<"title">(), [](UIViewController* self, SEL) -> id { return self->title.get(); })
            .method(sel<"setTitle:">(), [](UIViewController* self, SEL, id title) { self->title = copyOf(title); })
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
