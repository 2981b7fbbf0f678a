// Activity indicators, refresh controls and visual effect views: styles, colours and the subviews they make.
#include "new_view.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

namespace {

class ControlsTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;

    static double whiteOf(id color) {
        double white = -1;
        msg<BOOL>(color, sel<"getWhite:alpha:">(), &white, static_cast<double*>(nullptr));
        return white;
    }
    static objc::Strong<objc_object> indicator(long style) {
        return objc::adopt(msg<id>(msg<id>(UIActivityIndicatorView::class_(), sel<"alloc">()), sel<"initWithActivityIndicatorStyle:">(), style));
    }
};

TEST_F(ControlsTest, ActivityIndicatorStylesBringSizesAndColours) {
    auto large = indicator(UIActivityIndicatorViewStyleWhiteLarge), gray = indicator(UIActivityIndicatorViewStyleGray);
    EXPECT_EQ(static_cast<UIView*>(large.get())->frame.size, (CGSize{37, 37}));
    EXPECT_EQ(static_cast<UIView*>(gray.get())->frame.size, (CGSize{20, 20}));
    EXPECT_EQ(whiteOf(msg<id>(large.get(), sel<"color">())), 1.0);
    EXPECT_EQ(whiteOf(msg<id>(gray.get(), sel<"color">())), 0.5);
    id red = msg<id>(UIColor::class_(), sel<"redColor">());
    msg<void>(gray.get(), sel<"setColor:">(), red);
    EXPECT_EQ(msg<id>(gray.get(), sel<"color">()), red);
    EXPECT_NE(msg<id>(gray.get(), sel<"tintColor">()), red);  // colour and tint are separate
    msg<void>(gray.get(), sel<"setActivityIndicatorViewStyle:">(), UIActivityIndicatorViewStyleWhite);
    EXPECT_EQ(whiteOf(msg<id>(gray.get(), sel<"color">())), 1.0);
}

TEST_F(ControlsTest, AStoppedIndicatorHidesUnlessToldOtherwise) {
    auto spinner = indicator(UIActivityIndicatorViewStyleGray);
    EXPECT_TRUE(msg<BOOL>(spinner.get(), sel<"isHidden">()));
    msg<void>(spinner.get(), sel<"startAnimating">());
    EXPECT_TRUE(msg<BOOL>(spinner.get(), sel<"isAnimating">()));
    EXPECT_FALSE(msg<BOOL>(spinner.get(), sel<"isHidden">()));
    msg<void>(spinner.get(), sel<"setHidesWhenStopped:">(), NO);
    msg<void>(spinner.get(), sel<"stopAnimating">());
    EXPECT_FALSE(msg<BOOL>(spinner.get(), sel<"isHidden">()));
}

TEST_F(ControlsTest, RefreshControlPassesItsTintToItsSpinner) {
    auto control = objc::adopt(static_cast<UIRefreshControl*>(msg<id>(msg<id>(UIRefreshControl::class_(), sel<"alloc">()), sel<"init">())));
    EXPECT_EQ(control->frame.size, (CGSize{320, 60}));
    id green = msg<id>(UIColor::class_(), sel<"greenColor">());
    msg<void>(control.get(), sel<"setTintColor:">(), green);
    EXPECT_EQ(msg<id>(control.get(), sel<"tintColor">()), green);
    EXPECT_EQ(msg<id>(control->spinner.get(), sel<"color">()), green);
    msg<void>(control.get(), sel<"beginRefreshing">());
    EXPECT_TRUE(msg<BOOL>(control.get(), sel<"isRefreshing">()));
    EXPECT_TRUE(msg<BOOL>(control->spinner.get(), sel<"isAnimating">()));

    auto table = newView(UITableView::class_());
    msg<void>(table.get(), sel<"setRefreshControl:">(), static_cast<id>(control.get()));
    EXPECT_EQ(msg<id>(control.get(), sel<"superview">()), table.get());
    msg<void>(table.get(), sel<"setRefreshControl:">(), static_cast<id>(nil));
    EXPECT_EQ(msg<id>(control.get(), sel<"superview">()), nil);
}

TEST_F(ControlsTest, BlurEffectViewsAreBuiltFromPrivateEffectSubviews) {
    id blur = msg<id>(UIBlurEffect::class_(), sel<"effectWithStyle:">(), UIBlurEffectStyleDark);
    auto view = objc::adopt(static_cast<UIVisualEffectView*>(msg<id>(msg<id>(UIVisualEffectView::class_(), sel<"alloc">()), sel<"initWithEffect:">(), blur)));
    ASSERT_EQ(view->subviews.size(), 3u);
    EXPECT_STREQ(class_getName(object_getClass(view->subviews[0].get())), "_UIVisualEffectBackdropView");
    EXPECT_STREQ(class_getName(object_getClass(view->subviews[1].get())), "_UIVisualEffectSubview");
    EXPECT_EQ(view->subviews[2].get(), msg<id>(view.get(), sel<"contentView">()));
    EXPECT_STREQ(class_getName(object_getClass(view->subviews[2].get())), "_UIVisualEffectContentView");
    double white = -1, alpha = -1;
    msg<BOOL>(msg<id>(view->subviews[1].get(), sel<"backgroundColor">()), sel<"getWhite:alpha:">(), &white, &alpha);
    EXPECT_DOUBLE_EQ(white, 0.11);
    EXPECT_DOUBLE_EQ(alpha, 0.73);

    msg<void>(view.get(), sel<"setEffect:">(), static_cast<id>(nil));
    EXPECT_EQ(view->subviews.size(), 1u);
    msg<void>(view.get(), sel<"setFrame:">(), CGRect{{0, 0}, {30, 40}});
    platform::layoutTree(view);
    EXPECT_EQ(view->contentView->frame, (CGRect{{0, 0}, {30, 40}}));
}

}  // namespace

namespace {

TEST(ButtonImages, AnImageLargerThanTheButtonShrinksToFitKeepingItsProportions) {
    objc::AutoreleasePool pool;
    auto image = [](CGSize size) {
        UIGraphicsBeginImageContextWithOptions(size, false, 1);
        id made = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return made;
    };
    auto imageFrame = [](id button) {
        msg<void>(button, sel<"layoutSubviews">());
        return msg<CGRect>(msg<id>(button, sel<"imageView">()), sel<"frame">());
    };
    auto button = newView(UIButton::class_(), {{0, 0}, {44, 44}});
    msg<void>(button.get(), sel<"setImage:forState:">(), image({100, 50}), 0UL);
    CGRect large = imageFrame(button.get());
    EXPECT_DOUBLE_EQ(large.size.width, 44);
    EXPECT_DOUBLE_EQ(large.size.height, 22);
    EXPECT_DOUBLE_EQ(large.origin.x, 0);
    EXPECT_DOUBLE_EQ(large.origin.y, 11);

    msg<void>(button.get(), sel<"setImage:forState:">(), image({20, 10}), 0UL);
    CGRect small = imageFrame(button.get());
    EXPECT_DOUBLE_EQ(small.size.width, 20) << "a smaller image keeps its own size";
    EXPECT_DOUBLE_EQ(small.origin.x, 12);
}

TEST(ButtonTitles, ATitleGetsTheWidthItsTextTakesInTheLabelsFont) {
    objc::AutoreleasePool pool;
    auto button = newView(UIButton::class_(), {{0, 0}, {164, 44}});
    msg<void>(button.get(), sel<"setTitle:forState:">(), static_cast<id>(objc::str("Play")), 0UL);
    msg<void>(button.get(), sel<"layoutSubviews">());
    id label = msg<id>(button.get(), sel<"titleLabel">());
    id attributes = objc::dict({{NSFontAttributeName, msg<id>(label, sel<"font">())}});
    CGSize text = msg<CGSize>(objc::str("Play"), sel<"sizeWithAttributes:">(), attributes);
    CGRect frame = msg<CGRect>(label, sel<"frame">());
    EXPECT_GE(frame.size.width, text.width);
    EXPECT_LT(frame.size.width, text.width + 1);
    EXPECT_NEAR(frame.origin.x, (164 - frame.size.width) / 2, 1e-9) << "centred";

    msg<void>(button.get(), sel<"setTitle:forState:">(), static_cast<id>(objc::str("")), 0UL);
    msg<void>(button.get(), sel<"layoutSubviews">());
    EXPECT_DOUBLE_EQ(msg<CGRect>(label, sel<"frame">()).size.width, 0) << "no text takes no room";
}

}  // namespace
