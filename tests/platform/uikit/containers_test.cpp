// Containers and presentation: the views UIKit puts between a window and its controllers, and the life cycle order.
#include "new_view.h"

#include <UIKit/UIKit.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UITabBarController.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> gLog;

id str(const char* text) { return objc::autorelease(static_cast<id>(NSString::createFromUTF8(text).release())); }

std::string titleOf(id controller) { return objc::utf8(msg<id>(controller, sel<"title">())); }

// A controller that logs its appearance callbacks as "title event".
Class screenClass() {
    static Class cls = [] {
        Class c = objc_allocateClassPair(UIViewController::class_(), "UIKitTestScreen", 0);
        objc::addMethod(c, sel<"viewWillAppear:">(), [](id self, SEL, BOOL) { gLog.push_back(titleOf(self) + " willAppear"); });
        objc::addMethod(c, sel<"viewDidAppear:">(), [](id self, SEL, BOOL) { gLog.push_back(titleOf(self) + " didAppear"); });
        objc::addMethod(c, sel<"viewWillDisappear:">(), [](id self, SEL, BOOL) { gLog.push_back(titleOf(self) + " willDisappear"); });
        objc::addMethod(c, sel<"viewDidDisappear:">(), [](id self, SEL, BOOL) { gLog.push_back(titleOf(self) + " didDisappear"); });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

objc::Strong<objc_object> screen(const char* title, Class cls = screenClass()) {
    auto controller = objc::adopt(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"init">()));
    msg<void>(controller.get(), sel<"setTitle:">(), str(title));
    return controller;
}

std::string className(id object) { return object ? class_getName(object_getClass(object)) : "nil"; }

id subviewAt(id view, unsigned long index) {
    id list = msg<id>(view, sel<"subviews">());
    return index < msg<unsigned long>(list, sel<"count">()) ? msg<id>(list, sel<"objectAtIndex:">(), index) : nil;
}

std::vector<std::string> subviewClasses(id view) {
    std::vector<std::string> names;
    id list = msg<id>(view, sel<"subviews">());
    for (unsigned long i = 0; i < msg<unsigned long>(list, sel<"count">()); ++i) names.push_back(className(msg<id>(list, sel<"objectAtIndex:">(), i)));
    return names;
}

class ContainersTest : public ::testing::Test {
protected:
    void SetUp() override {
        gLog.clear();
        window_ = newView<UIWindow>(UIWindow::class_(), UIScreen::mainScreenBounds());
    }

    void show(id root) {
        msg<void>(window_.get(), sel<"setRootViewController:">(), root);
        msg<void>(window_.get(), sel<"makeKeyAndVisible">());
        platform::layoutTree(window_.get());
    }

    objc::AutoreleasePool pool_;
    objc::Strong<UIWindow> window_;
};

TEST_F(ContainersTest, ATabBarControllerShowsTheSelectedChildInUIKitsContainersAboveItsBar) {
    auto songs = screen("Songs"), radio = screen("Radio");
    auto tabs = objc::adopt(msg<id>(msg<id>(objc_getClass("UITabBarController"), sel<"alloc">()), sel<"init">()));
    msg<void>(tabs.get(), sel<"setViewControllers:">(), objc::array({songs.get(), radio.get()}));
    show(tabs.get());

    id container = msg<id>(tabs.get(), sel<"view">());
    EXPECT_EQ(className(container), "UILayoutContainerView");
    EXPECT_EQ(subviewClasses(container), (std::vector<std::string>{"UITransitionView", "UITabBar"}));
    id wrapper = subviewAt(subviewAt(container, 0), 0);
    EXPECT_EQ(className(wrapper), "UIViewControllerWrapperView");
    EXPECT_EQ(subviewAt(wrapper, 0), msg<id>(songs.get(), sel<"view">()));
    EXPECT_EQ(msg<id>(songs.get(), sel<"tabBarController">()), tabs.get());

    id bar = msg<id>(tabs.get(), sel<"tabBar">());
    CGRect barFrame = msg<CGRect>(bar, sel<"frame">());
    EXPECT_DOUBLE_EQ(barFrame.origin.y + barFrame.size.height, UIScreen::mainScreenBounds().size.height);
    EXPECT_EQ(subviewClasses(bar), (std::vector<std::string>{"_UIBarBackground", "UITabBarButton", "UITabBarButton"}));
    id secondLabel = subviewAt(subviewAt(bar, 2), 1);
    EXPECT_EQ(objc::utf8(msg<id>(secondLabel, sel<"text">())), "Radio") << "the buttons come from the children's tabBarItems";
    EXPECT_EQ(gLog, (std::vector<std::string>{"Songs willAppear", "Songs didAppear"})) << "a hidden tab does not appear";

    gLog.clear();
    msg<void>(tabs.get(), sel<"setSelectedIndex:">(), 1UL);
    EXPECT_EQ(gLog, (std::vector<std::string>{"Songs willDisappear", "Radio willAppear", "Radio didAppear", "Songs didDisappear"}));
    EXPECT_EQ(subviewClasses(wrapper).size(), 1u);
    EXPECT_EQ(subviewAt(wrapper, 0), msg<id>(radio.get(), sel<"view">()));
    msg<void>(tabs.get(), sel<"setSelectedIndex:">(), 7UL);
    EXPECT_EQ(msg<unsigned long>(tabs.get(), sel<"selectedIndex">()), 1UL) << "an index past the end is ignored";
}

TEST_F(ContainersTest, ANavigationControllerUsesItsBarClassAndShowsTheTopWithBarButtons) {
    Class barClass = objc_allocateClassPair(UINavigationBar::class_(), "UIKitTestNavigationBar", 0);
    objc_registerClassPair(barClass);
    auto library = screen("Library"), album = screen("Album");
    id item = objc::autorelease(msg<id>(msg<id>(objc_getClass("UIBarButtonItem"), sel<"alloc">()), sel<"initWithTitle:style:target:action:">(),
                                        str("Edit"), 0L, static_cast<id>(nil), static_cast<SEL>(nullptr)));
    msg<void>(msg<id>(album.get(), sel<"navigationItem">()), sel<"setRightBarButtonItem:">(), item);
    auto nav = objc::adopt(msg<id>(msg<id>(objc_getClass("UINavigationController"), sel<"alloc">()),
                                   sel<"initWithNavigationBarClass:toolbarClass:">(), barClass, static_cast<Class>(nullptr)));
    msg<void>(nav.get(), sel<"pushViewController:animated:">(), library.get(), NO);
    show(nav.get());
    gLog.clear();
    msg<void>(nav.get(), sel<"pushViewController:animated:">(), album.get(), YES);
    EXPECT_EQ(gLog, (std::vector<std::string>{"Library willDisappear", "Album willAppear", "Album didAppear", "Library didDisappear"}));
    platform::layoutTree(window_.get());

    id container = msg<id>(nav.get(), sel<"view">());
    id bar = msg<id>(nav.get(), sel<"navigationBar">());
    EXPECT_EQ(object_getClass(bar), barClass);
    EXPECT_EQ(subviewClasses(container), (std::vector<std::string>{"UINavigationTransitionView", "UIKitTestNavigationBar"}));
    id wrapper = subviewAt(subviewAt(container, 0), 0);
    EXPECT_EQ(className(wrapper), "UIViewControllerWrapperView");
    EXPECT_EQ(subviewAt(wrapper, 0), msg<id>(album.get(), sel<"view">()));
    EXPECT_EQ(msg<id>(nav.get(), sel<"topViewController">()), album.get());
    EXPECT_EQ(msg<id>(album.get(), sel<"navigationController">()), nav.get());

    std::vector<std::string> buttons;
    for (const std::string& name : subviewClasses(bar))
        if (name == "_UIModernBarButton") buttons.push_back(name);
    EXPECT_EQ(buttons.size(), 2u) << "a back button and the right item";
    EXPECT_EQ(objc::utf8(msg<id>(bar, sel<"topItem">()) ? msg<id>(msg<id>(bar, sel<"topItem">()), sel<"title">()) : nil), "Album");

    // Under a translucent bar the content reaches the top; below an opaque one it starts under it.
    EXPECT_DOUBLE_EQ(msg<CGRect>(subviewAt(container, 0), sel<"frame">()).origin.y, 0);
    msg<void>(bar, sel<"setTranslucent:">(), NO);
    msg<void>(container, sel<"setNeedsLayout">());
    msg<void>(container, sel<"layoutIfNeeded">());
    EXPECT_DOUBLE_EQ(msg<CGRect>(subviewAt(container, 0), sel<"frame">()).origin.y, platform::statusBarHeight() + kNavigationBarHeight);

    gLog.clear();
    EXPECT_EQ(msg<id>(nav.get(), sel<"popViewControllerAnimated:">(), YES), album.get());
    EXPECT_EQ(gLog, (std::vector<std::string>{"Album willDisappear", "Library willAppear", "Library didAppear", "Album didDisappear"}));
}

TEST_F(ContainersTest, PresentingShowsTheControllerOverTheWindowThroughItsLifeCycle) {
    auto home = screen("Home"), player = screen("Player"), sheet = screen("Sheet");
    show(home.get());
    gLog.clear();
    msg<void>(home.get(), sel<"presentViewController:animated:completion:">(), player.get(), YES, static_cast<id>(nil));
    EXPECT_EQ(gLog, (std::vector<std::string>{"Home willDisappear", "Player willAppear", "Player didAppear", "Home didDisappear"}));
    EXPECT_EQ(msg<id>(home.get(), sel<"presentedViewController">()), player.get());
    EXPECT_EQ(msg<id>(player.get(), sel<"presentingViewController">()), home.get());
    // Held here: dismissing releases the transition view, and the test asks it afterwards.
    objc::Strong<objc_object> transition = objc::retain(msg<id>(msg<id>(player.get(), sel<"view">()), sel<"superview">()));
    EXPECT_EQ(className(transition.get()), "UITransitionView");
    EXPECT_EQ(msg<id>(transition.get(), sel<"superview">()), window_.get());
    EXPECT_EQ(msg<CGRect>(msg<id>(player.get(), sel<"view">()), sel<"frame">()), UIScreen::mainScreenBounds());

    // A card keeps the presenter on screen, so it neither disappears nor comes back.
    gLog.clear();
    msg<void>(sheet.get(), sel<"setModalPresentationStyle:">(), static_cast<long>(UIModalPresentationPageSheet));
    msg<void>(player.get(), sel<"presentViewController:animated:completion:">(), sheet.get(), YES, static_cast<id>(nil));
    EXPECT_EQ(gLog, (std::vector<std::string>{"Sheet willAppear", "Sheet didAppear"}));
    CGRect card = msg<CGRect>(msg<id>(sheet.get(), sel<"view">()), sel<"frame">());
    EXPECT_GT(card.origin.y, platform::statusBarHeight());
    EXPECT_DOUBLE_EQ(card.origin.y + card.size.height, UIScreen::mainScreenBounds().size.height);
    msg<void>(home.get(), sel<"presentViewController:animated:completion:">(), sheet.get(), NO, static_cast<id>(nil));
    EXPECT_EQ(msg<id>(sheet.get(), sel<"presentingViewController">()), player.get()) << "a presented controller is not presented twice";

    gLog.clear();
    msg<void>(home.get(), sel<"dismissViewControllerAnimated:completion:">(), YES, static_cast<id>(nil));
    EXPECT_EQ(gLog, (std::vector<std::string>{"Sheet willDisappear", "Sheet didDisappear", "Player willDisappear", "Home willAppear",
                                              "Player didDisappear", "Home didAppear"}));
    EXPECT_EQ(msg<id>(home.get(), sel<"presentedViewController">()), nil);
    EXPECT_EQ(msg<id>(transition.get(), sel<"superview">()), nil);
}

TEST_F(ContainersTest, TheStatusBarStyleComesFromThePresentedControllerAndTheChildrenContainersName) {
    Class light = objc_allocateClassPair(screenClass(), "UIKitTestLightScreen", 0);
    objc::addMethod(light, sel<"preferredStatusBarStyle">(), [](id, SEL) -> long { return UIStatusBarStyleLightContent; });
    objc_registerClassPair(light);
    auto first = screen("First"), second = screen("Second", light);
    auto tabs = objc::adopt(msg<id>(msg<id>(objc_getClass("UITabBarController"), sel<"alloc">()), sel<"init">()));
    auto nav = objc::adopt(msg<id>(msg<id>(objc_getClass("UINavigationController"), sel<"alloc">()), sel<"initWithRootViewController:">(), first.get()));
    msg<void>(tabs.get(), sel<"setViewControllers:">(), objc::array({nav.get()}));
    show(tabs.get());
    EXPECT_EQ(platform::statusBarStyleController(window_.get()), first.get());

    EXPECT_EQ(platform::statusBarStyle(window_.get()), UIStatusBarStyleDefault);
    msg<void>(first.get(), sel<"presentViewController:animated:completion:">(), second.get(), NO, static_cast<id>(nil));
    EXPECT_EQ(platform::statusBarStyle(window_.get()), UIStatusBarStyleLightContent);
}

}  // namespace
