// UIViewController: the view loaded once on first use, containment messages and the status bar style.
#include "new_view.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>* gLog = nullptr;

void note(const std::string& entry) {
    if (gLog) gLog->push_back(entry);
}

// A controller that logs its life cycle; its loadView asks for its own view on the way, as
// careless app code does.
Class loggingControllerClass() {
    static Class cls = [] {
        Class c = objc_allocateClassPair(UIViewController::class_(), "UIKitTestLoggingController", 0);
        objc::addMethod(c, sel<"loadView">(), [](id self, SEL) {
            note("loadView");
            note(msg<id>(self, sel<"view">()) ? "view during load" : "no view during load");
            msg<void>(self, sel<"setView:">(), newView<UIView>(UIView::class_()).get());
        });
        objc::addMethod(c, sel<"viewDidLoad">(), [](id self, SEL) {
            note("viewDidLoad");
            note(msg<BOOL>(self, sel<"isViewLoaded">()) ? "loaded" : "not loaded");
        });
        objc::addMethod(c, sel<"willMoveToParentViewController:">(),
                        [](id, SEL, id parent) { note(parent ? "willMove to parent" : "willMove to nil"); });
        objc::addMethod(c, sel<"didMoveToParentViewController:">(),
                        [](id, SEL, id parent) { note(parent ? "didMove to parent" : "didMove to nil"); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

class UIViewControllerTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;
    std::vector<std::string> log_;

    void SetUp() override { gLog = &log_; }
    void TearDown() override { gLog = nullptr; }

    static objc::Strong<UIViewController> make(Class cls) {
        return objc::adopt(static_cast<UIViewController*>(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"init">())));
    }
};

TEST_F(UIViewControllerTest, ViewLoadsLazilyAndViewDidLoadRunsOnce) {
    auto c = make(loggingControllerClass());
    EXPECT_FALSE(msg<BOOL>(c.get(), sel<"isViewLoaded">()));
    EXPECT_EQ(msg<id>(c.get(), sel<"viewIfLoaded">()), nil);
    EXPECT_TRUE(log_.empty());
    id first = msg<id>(c.get(), sel<"view">());
    id second = msg<id>(c.get(), sel<"view">());
    EXPECT_NE(first, nil);
    EXPECT_EQ(first, second);
    EXPECT_EQ(log_, (std::vector<std::string>{"loadView", "no view during load", "viewDidLoad", "loaded"}));
}

TEST_F(UIViewControllerTest, ALoadViewThatMakesNoViewStillGivesOneAndOneViewDidLoad) {
    static int loads = 0;
    Class lazy = objc_allocateClassPair(UIViewController::class_(), "UIKitTestViewlessController", 0);
    objc::addMethod(lazy, sel<"loadView">(), [](id, SEL) {});
    objc::addMethod(lazy, sel<"viewDidLoad">(), [](id, SEL) { ++loads; });
    objc_registerClassPair(lazy);
    auto c = make(lazy);
    EXPECT_NE(msg<id>(c.get(), sel<"view">()), nil);
    msg<id>(c.get(), sel<"view">());
    EXPECT_EQ(loads, 1);
}

TEST_F(UIViewControllerTest, ContainmentSendsTheMoveMessages) {
    auto parent = make(UIViewController::class_()), child = make(loggingControllerClass());
    msg<void>(parent.get(), sel<"addChildViewController:">(), static_cast<id>(child.get()));
    EXPECT_EQ(msg<id>(child.get(), sel<"parentViewController">()), parent.get());
    EXPECT_EQ(msg<unsigned long>(msg<id>(parent.get(), sel<"childViewControllers">()), sel<"count">()), 1u);
    msg<void>(child.get(), sel<"removeFromParentViewController">());
    EXPECT_EQ(msg<id>(child.get(), sel<"parentViewController">()), nil);
    EXPECT_EQ(log_, (std::vector<std::string>{"willMove to parent", "didMove to nil"}));

    msg<void>(child.get(), sel<"addChildViewController:">(), static_cast<id>(parent.get()));
    msg<void>(parent.get(), sel<"addChildViewController:">(), static_cast<id>(child.get()));  // would be a cycle
    EXPECT_EQ(msg<id>(child.get(), sel<"parentViewController">()), nil);
}

TEST_F(UIViewControllerTest, AppearanceIsForwardedToShownChildrenAndStatusBarIsDefault) {
    static int appeared = 0;
    Class counting = objc_allocateClassPair(UIViewController::class_(), "UIKitTestAppearingController", 0);
    objc::addMethod(counting, sel<"viewWillAppear:">(), [](id, SEL, BOOL) { ++appeared; });
    objc_registerClassPair(counting);
    auto parent = make(counting), child = make(counting), offscreen = make(counting);
    msg<void>(parent.get(), sel<"addChildViewController:">(), static_cast<id>(child.get()));
    msg<void>(parent.get(), sel<"addChildViewController:">(), static_cast<id>(offscreen.get()));
    msg<void>(msg<id>(parent.get(), sel<"view">()), sel<"addSubview:">(), msg<id>(child.get(), sel<"view">()));
    platform::forwardAppearance(parent, false, false);
    EXPECT_EQ(appeared, 2) << "the parent and the child whose view it shows, not the one it does not";
    EXPECT_EQ(msg<long>(parent.get(), sel<"preferredStatusBarStyle">()), UIStatusBarStyleDefault);
}

}  // namespace
