// Appearance proxies: recorded setter calls reach views created afterwards, most general class first.
#include "new_view.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

namespace {

int gRecolouredViews = 0;

class AppearanceTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;

    void SetUp() override { platform::resetAppearance(); }
    void TearDown() override { platform::resetAppearance(); }

    static id proxy(const char* className) { return msg<id>(objc_getClass(className), sel<"appearance">()); }
    static id color(const char* name) { return msg<id>(UIColor::class_(), sel_registerName(name)); }
};

TEST_F(AppearanceTest, RecordedValuesReachNewInstancesOnly) {
    auto before = newView(UITextField::class_());
    msg<void>(proxy("UITextField"), sel<"setTextColor:">(), color("redColor"));
    msg<void>(proxy("UITextField"), sel<"setKeyboardAppearance:">(), UIKeyboardAppearanceDark);
    auto after = newView(UITextField::class_());

    EXPECT_EQ(msg<id>(after.get(), sel<"textColor">()), color("redColor"));
    EXPECT_EQ(msg<long>(after.get(), sel<"keyboardAppearance">()), UIKeyboardAppearanceDark);
    EXPECT_EQ(msg<long>(msg<id>(after.get(), sel<"textInputTraits">()), sel<"keyboardAppearance">()), UIKeyboardAppearanceDark);
    EXPECT_TRUE(msg<BOOL>(msg<id>(before.get(), sel<"textColor">()), sel<"isEqual:">(), color("blackColor")));
    EXPECT_EQ(msg<long>(before.get(), sel<"keyboardAppearance">()), UIKeyboardAppearanceDefault);
}

TEST_F(AppearanceTest, AClassProxyReachesItsSubclassesButNotItsSiblings) {
    msg<void>(proxy("UITextView"), sel<"setTextColor:">(), color("greenColor"));
    EXPECT_EQ(msg<id>(newView(UITextView::class_()).get(), sel<"textColor">()), color("greenColor"));
    EXPECT_NE(msg<id>(newView(UITextField::class_()).get(), sel<"textColor">()), color("greenColor"));
    EXPECT_NE(msg<id>(newView(UILabel::class_()).get(), sel<"textColor">()), color("greenColor"));
}

TEST_F(AppearanceTest, TheMostSpecificClassIsAppliedLast) {
    msg<void>(proxy("UITextField"), sel<"setTintColor:">(), color("redColor"));
    msg<void>(proxy("UISearchBarTextField"), sel<"setTintColor:">(), color("blueColor"));
    msg<void>(proxy("UIControl"), sel<"setTintColor:">(), color("greenColor"));
    EXPECT_EQ(msg<id>(newView(objc_getClass("UISearchBarTextField")).get(), sel<"tintColor">()), color("blueColor"));
    EXPECT_EQ(msg<id>(newView(UITextField::class_()).get(), sel<"tintColor">()), color("redColor"));
    EXPECT_EQ(msg<id>(newView(UIButton::class_()).get(), sel<"tintColor">()), color("greenColor"));
}

TEST_F(AppearanceTest, BarsAndSearchBarsTakeTheirRecordedValues) {
    id image = [] {
        UIGraphicsBeginImageContextWithOptions({32, 32}, false, 1);
        id made = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return made;
    }();
    msg<void>(proxy("UISearchBar"), sel<"setBarTintColor:">(), color("darkGrayColor"));
    msg<void>(proxy("UISearchBar"), sel<"setSearchFieldBackgroundImage:forState:">(), image, UIControlStateNormal);
    msg<void>(proxy("UISearchBar"), sel<"setSearchTextPositionAdjustment:">(), UIOffset{8, 0});
    msg<void>(proxy("UITabBar"), sel<"setBarTintColor:">(), color("blackColor"));
    msg<void>(proxy("UITabBar"), sel<"setTintColor:">(), color("orangeColor"));
    msg<void>(proxy("UINavigationBar"), sel<"setTintColor:">(), color("whiteColor"));

    auto searchBar = newView(UISearchBar::class_());
    EXPECT_EQ(msg<id>(searchBar.get(), sel<"barTintColor">()), color("darkGrayColor"));
    EXPECT_EQ(msg<id>(searchBar.get(), sel<"searchFieldBackgroundImageForState:">(), UIControlStateNormal), image);
    EXPECT_EQ(msg<id>(msg<id>(searchBar.get(), sel<"searchField">()), sel<"background">()), image);
    EXPECT_EQ((msg<UIOffset>(searchBar.get(), sel<"searchTextPositionAdjustment">())), (UIOffset{8, 0}));

    auto tabBar = newView(UITabBar::class_());
    EXPECT_EQ(msg<id>(tabBar.get(), sel<"barTintColor">()), color("blackColor"));
    EXPECT_EQ(msg<id>(tabBar.get(), sel<"tintColor">()), color("orangeColor"));
    EXPECT_EQ(msg<id>(newView(UINavigationBar::class_()).get(), sel<"tintColor">()), color("whiteColor"));

    auto records = platform::appearanceRecords();
    ASSERT_EQ(records["UISearchBar"].size(), 3u);
    EXPECT_EQ(records["UISearchBar"][1].selector, "setSearchFieldBackgroundImage:forState:");
}

TEST_F(AppearanceTest, ReplayedCallsAreRealMessages) {
    Class recolouring = objc_allocateClassPair(UITextView::class_(), "UIKitTestRecolouringTextView", 0);
    objc::addMethod(recolouring, sel<"setTextColor:">(), [](id self, SEL cmd, id colour) {
        ++gRecolouredViews;
        objc::callIMP(method_getImplementation(class_getInstanceMethod(UITextView::class_(), cmd)), self, cmd, colour);
    });
    objc_registerClassPair(recolouring);
    msg<void>(proxy("UITextView"), sel<"setTextColor:">(), color("redColor"));
    auto view = newView(recolouring);
    EXPECT_EQ(gRecolouredViews, 1);
    EXPECT_EQ(msg<id>(view.get(), sel<"textColor">()), color("redColor"));
}

TEST_F(AppearanceTest, EachClassHasOneProxyAndResetForgetsTheRecords) {
    EXPECT_EQ(proxy("UITabBar"), proxy("UITabBar"));
    EXPECT_NE(proxy("UITabBar"), proxy("UINavigationBar"));
    msg<void>(proxy("UITabBar"), sel<"setTintColor:">(), color("redColor"));
    platform::resetAppearance();
    EXPECT_TRUE(platform::appearanceRecords().empty());
    EXPECT_NE(msg<id>(newView(UITabBar::class_()).get(), sel<"tintColor">()), color("redColor"));
}

}  // namespace
