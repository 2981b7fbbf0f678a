// UIWindow: screens, root view controllers and becoming the application's key window.
#include "Registration.h"

#include <UIKit/UIApplication.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIViewController.h>
#include <UIKit/UIWindow.h>

#include <algorithm>

namespace {

Class gUIWindow = nullptr;

bool isVisible(UIWindow* window) { return !window->hidden; }

void showRootView(UIWindow* window) {
    UIViewController* root = window->rootViewController.get();
    if (!root) return;
    auto* view = static_cast<UIView*>(msg<id>(root, sel<"view">()));
    if (!view || view->superview == window) return;
    msg<void>(view, sel<"setFrame:">(), CGRect{{0, 0}, window->frame.size});
    msg<void>(window, sel<"addSubview:">(), view);
}

// The root controller appears once, when its window first shows it.
void appearRoot(UIWindow* window) {
    if (window->rootHasAppeared || !window->rootViewController || !isVisible(window)) return;
    window->rootHasAppeared = true;
    msg<id>(window->rootViewController.get(), sel<"view">());  // loaded first, so that its shown children appear with it
    platform::forwardAppearance(window->rootViewController, false, false);
    showRootView(window);
    platform::forwardAppearance(window->rootViewController, true, false);
}

void setRootViewController(UIWindow* window, UIViewController* controller) {
    if (window->rootViewController.get() == controller) return;
    if (UIViewController* old = window->rootViewController.get()) {
        if (old->view && old->view->superview == window) msg<void>(old->view.get(), sel<"removeFromSuperview">());
    }
    window->rootViewController = objc::retain(controller);
    window->rootHasAppeared = false;
    if (isVisible(window)) appearRoot(window);
    else showRootView(window);
}

void makeKey(UIWindow* window) {
    UIApplication* app = UIApplication::shared();
    if (!app) return;
    if (std::find(app->windows.begin(), app->windows.end(), window) == app->windows.end()) app->windows.push_back(window);
    app->keyWindow = window;
}

}  // namespace

Class UIWindow::class_() { return gUIWindow; }

UIWindow::UIWindow() { hidden = true; }

UIWindow::~UIWindow() {
    if (UIApplication* app = UIApplication::shared()) {
        std::erase(app->windows, this);
        if (app->keyWindow == this) app->keyWindow = nullptr;
    }
}

namespace platform::uikit {

void registerUIWindow() {
    using objc::ClassBuilder;
    gUIWindow = ClassBuilder<UIWindow>("UIWindow", UIView::class_())
                    .method(sel<"screen">(),
                            [](UIWindow* self, SEL) -> id {
                                return self->screen ? self->screen.get() : msg<id>(UIScreen::class_(), sel<"mainScreen">());
                            })
                    .method(sel<"setScreen:">(), [](UIWindow* self, SEL, UIScreen* screen) { self->screen = objc::retain(static_cast<id>(screen)); })
                    .method(sel<"rootViewController">(), [](UIWindow* self, SEL) -> id { return self->rootViewController.get(); })
                    .method(sel<"setRootViewController:">(),
                            [](UIWindow* self, SEL, UIViewController* controller) { setRootViewController(self, controller); })
                    .method(sel<"makeKeyAndVisible">(),
                            [](UIWindow* self, SEL) {
                                makeKey(self);
                                msg<void>(self, sel<"setHidden:">(), NO);
                                appearRoot(self);
                            })
                    .method(sel<"makeKeyWindow">(), [](UIWindow* self, SEL) { makeKey(self); })
                    .method(sel<"isKeyWindow">(),
                            [](UIWindow* self, SEL) {
                                UIApplication* app = UIApplication::shared();
                                return app && app->keyWindow == self;
                            })
                    .method(sel<"windowLevel">(), [](UIWindow* self, SEL) { return self->windowLevel; })
                    .method(sel<"setWindowLevel:">(), [](UIWindow* self, SEL, double level) { self->windowLevel = level; })
                    .method(sel<"nextResponder">(), [](UIWindow*, SEL) -> id { return UIApplication::shared(); })
                    .registerClass();
}

}  // namespace platform::uikit
