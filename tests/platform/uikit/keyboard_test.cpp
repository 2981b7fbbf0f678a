// The keyboard: shown for the first responder in a window, light or dark through the traits and the render config.
#include "new_view.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = newView<UIWindow>(UIWindow::class_(), UIScreen::mainScreenBounds());
        msg<void>(window_.get(), sel<"makeKeyAndVisible">());
    }

    id field(const char* cls = "UITextField") {
        auto view = newView(objc_getClass(cls), {{0, 100}, {300, 36}});
        msg<void>(window_.get(), sel<"addSubview:">(), static_cast<id>(view.get()));
        return view.get();
    }

    // The key colour of the first letter key after a layout pass.
    double firstKeyWhite() {
        UIView* keyboard = platform::keyboardOfWindow(window_.get());
        platform::layoutTree(window_.get());
        id key = keyboard->subviews.front()->subviews.front().get();
        double white = -1, alpha = 0;
        msg<BOOL>(msg<id>(key, sel<"keyColor">()), sel<"getWhite:alpha:">(), &white, &alpha);
        return white;
    }

    objc::AutoreleasePool pool_;
    objc::Strong<UIWindow> window_;
};

TEST_F(KeyboardTest, BecomingFirstResponderShowsTheKeyboardAtTheBottomAndResigningRemovesIt) {
    auto offscreen = newView(UITextField::class_());
    EXPECT_FALSE(msg<BOOL>(offscreen.get(), sel<"becomeFirstResponder">())) << "only an input in a window";

    id input = field();
    ASSERT_TRUE(msg<BOOL>(input, sel<"becomeFirstResponder">()));
    EXPECT_TRUE(msg<BOOL>(input, sel<"isFirstResponder">()));
    UIView* keyboard = platform::keyboardOfWindow(window_.get());
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->superview, window_.get());
    EXPECT_EQ(window_->subviews.back().get(), keyboard) << "over everything else";
    EXPECT_DOUBLE_EQ(keyboard->frame.origin.y + keyboard->frame.size.height, window_->frame.size.height);
    ASSERT_EQ(keyboard->subviews.size(), 2u);
    EXPECT_STREQ(class_getName(object_getClass(keyboard->subviews[0].get())), "UIKBKeyplaneView");
    UIView* dock = keyboard->subviews[1].get();
    EXPECT_STREQ(class_getName(object_getClass(dock)), "UIKeyboardDockView");
    ASSERT_EQ(dock->subviews.size(), 2u);
    EXPECT_STREQ(class_getName(object_getClass(dock->subviews[0].get())), "UIKeyboardDockItemButton");

    static int dockLayouts = 0;
    objc::addMethod(objc_getClass("UIKeyboardDockView"), sel<"layoutSubviews">(), [](id, SEL) { ++dockLayouts; });
    platform::layoutTree(window_.get());
    EXPECT_EQ(dockLayouts, 1) << "the dock is laid out with the window";

    id other = field();
    ASSERT_TRUE(msg<BOOL>(other, sel<"becomeFirstResponder">()));
    EXPECT_FALSE(msg<BOOL>(input, sel<"isFirstResponder">()));
    EXPECT_TRUE(msg<BOOL>(other, sel<"resignFirstResponder">()));
    EXPECT_EQ(platform::keyboardOfWindow(window_.get()), nullptr);
}

TEST_F(KeyboardTest, ASearchBarHandsFirstResponderToItsFieldAndRemovingTheFieldTakesTheKeyboard) {
    auto bar = newView<UISearchBar>(UISearchBar::class_(), {{0, 44}, {375, 56}});
    msg<void>(window_.get(), sel<"addSubview:">(), static_cast<id>(bar.get()));
    ASSERT_TRUE(msg<BOOL>(bar.get(), sel<"becomeFirstResponder">()));
    EXPECT_TRUE(msg<BOOL>(bar->searchField.get(), sel<"isFirstResponder">()));
    msg<void>(bar.get(), sel<"removeFromSuperview">());
    EXPECT_EQ(platform::keyboardOfWindow(window_.get()), nullptr);
    EXPECT_EQ(window_->firstResponder, nullptr);
}

TEST_F(KeyboardTest, TheKeysFollowTheTraitsAppearanceAndTheConfigsAnswer) {
    id input = field();
    msg<BOOL>(input, sel<"becomeFirstResponder">());
    EXPECT_DOUBLE_EQ(firstKeyWhite(), 1.0) << "the default appearance is the light keyboard";

    msg<void>(input, sel<"setKeyboardAppearance:">(), UIKeyboardAppearanceDark);
    EXPECT_LT(firstKeyWhite(), 0.5);
    id config = msg<id>(platform::keyboardOfWindow(window_.get()), sel<"renderConfig">());
    EXPECT_FALSE(msg<BOOL>(config, sel<"lightKeyboard">()));

    // Replacing the traits' getter and the config's answer (as the tweak does) reaches the keys.
    Class traits = objc_getClass("UITextInputTraits");
    IMP appearance = objc::addMethod(traits, sel<"keyboardAppearance">(), [](id, SEL) -> long { return UIKeyboardAppearanceLight; });
    EXPECT_DOUBLE_EQ(firstKeyWhite(), 1.0);
    Class renderConfig = objc_getClass("UIKBRenderConfig");
    IMP light = objc::addMethod(renderConfig, sel<"lightKeyboard">(), [](id, SEL) -> bool { return false; });
    EXPECT_LT(firstKeyWhite(), 0.5);
    method_setImplementation(class_getInstanceMethod(traits, sel<"keyboardAppearance">()), appearance);
    method_setImplementation(class_getInstanceMethod(renderConfig, sel<"lightKeyboard">()), light);
}

TEST_F(KeyboardTest, ThePINKeypadLaysOutTwelveKeysAtThePhonesSize) {
    auto keypad = newView(objc_getClass("DevicePINKeypad"), {{0, 0}, {375, 216}});
    ASSERT_EQ(keypad->subviews.size(), 12u);
    UIView* two = keypad->subviews[1].get();
    EXPECT_EQ(objc::utf8(msg<id>(two, sel<"label">())), "2");
    EXPECT_EQ(objc::utf8(msg<id>(two, sel<"secondaryLabel">())), "A B C");
    EXPECT_DOUBLE_EQ(two->frame.size.height, 46);
    UIView* last = keypad->subviews.back().get();
    EXPECT_LE(last->frame.origin.x + last->frame.size.width, 375);
    EXPECT_LE(last->frame.origin.y + last->frame.size.height, 216);
}

}  // namespace
