// Navigation, tab and search bars: tints and translucency asked by message, their backgrounds and item views.
#include "new_view.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

namespace {

class BarsTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;

    static id color(const char* name) { return msg<id>(UIColor::class_(), sel_registerName(name)); }
    static UIView* firstSubview(id view) { return static_cast<UIView*>(view)->subviews.front().get(); }
    static const char* className(id object) { return class_getName(object_getClass(object)); }

    // A subclass whose getters answer as a method replacement would: not translucent, a bar tint
    // and an unselected item tint of their own.
    static Class themedSubclassOf(Class base, const char* name) {
        if (Class existing = objc_getClass(name)) return existing;
        Class cls = objc_allocateClassPair(base, name, 0);
        objc::addMethod(cls, sel<"translucent">(), [](id, SEL) { return false; });
        objc::addMethod(cls, sel<"barTintColor">(), [](id, SEL) { return msg<id>(UIColor::class_(), sel<"purpleColor">()); });
        objc::addMethod(cls, sel<"unselectedItemTintColor">(), [](id, SEL) { return msg<id>(UIColor::class_(), sel<"brownColor">()); });
        objc_registerClassPair(cls);
        return cls;
    }

    static id item(const char* title) {
        UIGraphicsBeginImageContextWithOptions({25, 25}, false, 1);
        id glyph = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return objc::autorelease(msg<id>(msg<id>(UITabBarItem::class_(), sel<"alloc">()), sel<"initWithTitle:image:tag:">(),
                                         objc::str(title), glyph, 0L));
    }
};

TEST_F(BarsTest, NavigationBarReadersSeeReplacedGetters) {
    auto plain = newView(UINavigationBar::class_(), {{0, 0}, {375, 44}});
    EXPECT_TRUE(msg<BOOL>(plain.get(), sel<"isTranslucent">()));
    EXPECT_EQ(msg<id>(plain.get(), sel<"barTintColor">()), nil);

    auto themed = newView(themedSubclassOf(UINavigationBar::class_(), "UIKitTestThemedNavigationBar"), {{0, 0}, {375, 44}});
    EXPECT_FALSE(msg<BOOL>(themed.get(), sel<"isTranslucent">()));
    platform::layoutTree(themed);
    UIView* background = firstSubview(themed.get());
    EXPECT_STREQ(className(background), "_UIBarBackground");
    EXPECT_EQ(msg<id>(background, sel<"backgroundColor">()), color("purpleColor"));
    EXPECT_EQ(background->frame, (CGRect{{0, 0}, {375, 44}}));

    platform::layoutTree(plain);
    double white = 0, alpha = 0;
    ASSERT_TRUE(msg<BOOL>(msg<id>(firstSubview(plain.get()), sel<"backgroundColor">()), sel<"getWhite:alpha:">(), &white, &alpha));
    EXPECT_LT(alpha, 1.0);  // the stock bar is translucent
}

TEST_F(BarsTest, NavigationBarShowsTheTopItemsTitle) {
    auto bar = newView(UINavigationBar::class_(), {{0, 0}, {375, 44}});
    auto first = objc::adopt(msg<id>(msg<id>(UINavigationItem::class_(), sel<"alloc">()), sel<"initWithTitle:">(), NSSTR("Library")));
    auto second = objc::adopt(msg<id>(msg<id>(UINavigationItem::class_(), sel<"alloc">()), sel<"initWithTitle:">(), NSSTR("Albums")));
    msg<void>(bar.get(), sel<"pushNavigationItem:animated:">(), first.get(), NO);
    msg<void>(bar.get(), sel<"pushNavigationItem:animated:">(), second.get(), NO);
    msg<void>(bar.get(), sel<"setTitleTextAttributes:">(), objc::dict({{NSForegroundColorAttributeName, color("redColor")}}));
    EXPECT_EQ(msg<id>(bar.get(), sel<"topItem">()), second.get());
    EXPECT_EQ(msg<id>(bar.get(), sel<"backItem">()), first.get());
    platform::layoutTree(bar);
    UILabel* title = static_cast<UINavigationBar*>(bar.get())->titleLabel.get();
    EXPECT_EQ(objc::utf8(msg<id>(title, sel<"text">())), "Albums");
    EXPECT_EQ(msg<id>(title, sel<"textColor">()), color("redColor"));

    EXPECT_EQ(msg<id>(bar.get(), sel<"popNavigationItemAnimated:">(), NO), second.get());
    platform::layoutTree(bar);
    EXPECT_EQ(objc::utf8(msg<id>(title, sel<"text">())), "Library");
    msg<id>(bar.get(), sel<"popNavigationItemAnimated:">(), NO);
    EXPECT_EQ(msg<id>(bar.get(), sel<"popNavigationItemAnimated:">(), NO), nil);
}

TEST_F(BarsTest, TabBarItemsAreShownByPrivateButtonsInTheirTints) {
    auto bar = newView(themedSubclassOf(UITabBar::class_(), "UIKitTestThemedTabBar"), {{0, 0}, {300, 49}});
    id items = objc::autorelease(static_cast<id>(NSArray::create({objc::retain(item("Library")), objc::retain(item("Radio")),
                                                                  objc::retain(item("Search"))}).release()));
    msg<void>(bar.get(), sel<"setItems:">(), items);
    msg<void>(bar.get(), sel<"setTintColor:">(), color("redColor"));
    msg<void>(bar.get(), sel<"setSelectedItem:">(), msg<id>(items, sel<"objectAtIndex:">(), 1UL));
    platform::layoutTree(bar);

    auto& buttons = static_cast<UITabBar*>(bar.get())->buttons;
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_STREQ(className(firstSubview(bar.get())), "_UIBarBackground");
    EXPECT_EQ(buttons[1].button->frame, (CGRect{{100, 0}, {100, 49}}));
    EXPECT_STREQ(className(buttons[0].button), "UITabBarButton");
    EXPECT_STREQ(className(buttons[0].label), "UITabBarButtonLabel");
    EXPECT_EQ(objc::utf8(msg<id>(buttons[2].label.get(), sel<"text">())), "Search");
    EXPECT_EQ(msg<id>(buttons[1].label.get(), sel<"textColor">()), color("redColor"));
    EXPECT_EQ(msg<id>(buttons[0].label.get(), sel<"textColor">()), color("brownColor"));
    EXPECT_EQ(msg<id>(buttons[0].imageView.get(), sel<"tintColor">()), color("brownColor"));
    EXPECT_EQ(msg<long>(msg<id>(buttons[0].imageView.get(), sel<"image">()), sel<"renderingMode">()), UIImageRenderingModeAlwaysTemplate);

    msg<void>(bar.get(), sel<"setSelectedItem:">(), item("Elsewhere"));
    EXPECT_EQ(msg<id>(bar.get(), sel<"selectedItem">()), nil);
}

TEST_F(BarsTest, TabBarWithoutAnUnselectedTintUsesGrey) {
    auto bar = newView(UITabBar::class_(), {{0, 0}, {100, 49}});
    msg<void>(bar.get(), sel<"setItems:">(), objc::autorelease(static_cast<id>(NSArray::create({objc::retain(item("Only"))}).release())));
    platform::layoutTree(bar);
    double white = -1;
    id labelColor = msg<id>(static_cast<UITabBar*>(bar.get())->buttons[0].label.get(), sel<"textColor">());
    ASSERT_TRUE(msg<BOOL>(labelColor, sel<"getWhite:alpha:">(), &white, static_cast<double*>(nullptr)));
    EXPECT_DOUBLE_EQ(white, 146 / 255.0);
}

TEST_F(BarsTest, SearchBarKeepsItsTextAndKeyboardInItsField) {
    auto bar = newView(UISearchBar::class_(), {{0, 0}, {375, 56}});
    id field = msg<id>(bar.get(), sel<"searchField">());
    EXPECT_STREQ(className(field), "UISearchBarTextField");
    msg<void>(bar.get(), sel<"setText:">(), NSSTR("blue"));
    msg<void>(bar.get(), sel<"setKeyboardAppearance:">(), UIKeyboardAppearanceDark);
    EXPECT_EQ(objc::utf8(msg<id>(field, sel<"text">())), "blue");
    EXPECT_EQ(msg<long>(field, sel<"keyboardAppearance">()), UIKeyboardAppearanceDark);
    platform::layoutTree(bar);
    EXPECT_EQ(static_cast<UIView*>(field)->frame, (CGRect{{8, 10}, {359, 36}}));
    EXPECT_STREQ(className(firstSubview(bar.get())), "_UIBarBackground");
    EXPECT_EQ((msg<CGSize>(bar.get(), sel<"sizeThatFits:">(), CGSize{320, 0})), (CGSize{320, 56}));
}

}  // namespace
