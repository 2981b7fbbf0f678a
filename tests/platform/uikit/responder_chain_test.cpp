// The responder chain: views, root views, child controllers, windows and detached views.
#include "new_view.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

namespace {

class ResponderChainTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;

    static objc::Strong<UIView> view() { return newView<UIView>(UIView::class_()); }
    static objc::Strong<UIViewController> controller() {
        return objc::adopt(static_cast<UIViewController*>(msg<id>(msg<id>(UIViewController::class_(), sel<"alloc">()), sel<"init">())));
    }
    static id next(id responder) { return msg<id>(responder, sel<"nextResponder">()); }
    static id viewOf(UIViewController* c) { return msg<id>(c, sel<"view">()); }
};

TEST_F(ResponderChainTest, ASubviewsNextResponderIsItsSuperview) {
    auto parent = view(), child = view();
    msg<void>(parent.get(), sel<"addSubview:">(), static_cast<id>(child.get()));
    EXPECT_EQ(next(child), parent.get());
    EXPECT_EQ(next(parent), nil);  // detached: the chain ends
}

TEST_F(ResponderChainTest, ARootViewLeadsToItsControllerAndTheControllerToTheSuperview) {
    auto c = controller();
    auto container = view();
    id root = viewOf(c);
    auto label = newView<UIView>(UILabel::class_());
    msg<void>(root, sel<"addSubview:">(), static_cast<id>(label.get()));
    EXPECT_EQ(next(label), root);
    EXPECT_EQ(next(root), c.get());
    EXPECT_EQ(next(c), nil);
    msg<void>(container.get(), sel<"addSubview:">(), root);
    EXPECT_EQ(next(root), c.get());  // still the controller, not the superview
    EXPECT_EQ(next(c), container.get());
}

TEST_F(ResponderChainTest, AChildControllerWithoutASuperviewLeadsToItsParent) {
    auto parent = controller(), child = controller();
    msg<void>(parent.get(), sel<"addChildViewController:">(), static_cast<id>(child.get()));
    EXPECT_EQ(next(child), parent.get());
    id childView = viewOf(child);
    EXPECT_EQ(next(child), parent.get());  // a loaded view without a superview changes nothing
    msg<void>(viewOf(parent), sel<"addSubview:">(), childView);
    EXPECT_EQ(next(child), viewOf(parent));
    EXPECT_EQ(next(viewOf(parent)), parent.get());
    msg<void>(child.get(), sel<"removeFromParentViewController">());
    msg<void>(childView, sel<"removeFromSuperview">());
    EXPECT_EQ(next(child), nil);
}

TEST_F(ResponderChainTest, AViewTakenFromItsControllerNoLongerLeadsToIt) {
    auto c = controller(), other = controller();
    auto v = view();
    msg<void>(c.get(), sel<"setView:">(), static_cast<id>(v.get()));
    EXPECT_EQ(next(v), c.get());
    msg<void>(other.get(), sel<"setView:">(), static_cast<id>(v.get()));
    EXPECT_EQ(next(v), other.get());
    EXPECT_EQ(msg<id>(c.get(), sel<"viewIfLoaded">()), nil);
}

TEST_F(ResponderChainTest, ControllerDeallocationLeavesItsViewDetached) {
    auto v = view();
    {
        auto c = controller();
        msg<void>(c.get(), sel<"setView:">(), static_cast<id>(v.get()));
    }
    EXPECT_EQ(next(v), nil);
}

TEST_F(ResponderChainTest, AWindowLeadsToTheApplication) {
    UIApplication* app = platform::createApplication();
    auto window = newView<UIWindow>(UIWindow::class_());
    auto v = view();
    msg<void>(window.get(), sel<"addSubview:">(), static_cast<id>(v.get()));
    EXPECT_EQ(next(v), window.get());
    EXPECT_EQ(next(window), app);
    EXPECT_EQ(next(app), nil);
}

}  // namespace
