// String drawing: where text lands in the current context, its colours, and what measuring answers.
#include "image_pixels.h"

#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

namespace {

int gDrawCalls = 0;

class StringDrawingTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;

    static constexpr int kWidth = 120, kHeight = 40;

    static id color(const char* name) { return msg<id>(UIColor::class_(), sel_registerName(name)); }
    static id attributes(double size, id foreground, id background = nil) {
        auto* dict = static_cast<NSMutableDictionary*>(objc::autorelease(msg<id>(NSMutableDictionary::class_(), sel<"new">())));
        msg<void>(dict, sel<"setObject:forKey:">(), static_cast<id>(UIFont::systemFont(size)), static_cast<id>(NSFontAttributeName));
        if (foreground) msg<void>(dict, sel<"setObject:forKey:">(), foreground, static_cast<id>(NSForegroundColorAttributeName));
        if (background) msg<void>(dict, sel<"setObject:forKey:">(), background, static_cast<id>(NSBackgroundColorAttributeName));
        return dict;
    }

    // Draws into a fresh image context and returns the image.
    template <class Draw>
    static id drawn(Draw draw) {
        UIGraphicsBeginImageContextWithOptions({kWidth, kHeight}, false, 1);
        draw();
        id image = UIGraphicsGetImageFromCurrentImageContext();
        UIGraphicsEndImageContext();
        return image;
    }

    struct Ink {
        int left = kWidth, top = kHeight, right = -1, bottom = -1, pixels = 0;
        bool onlyRed = true;
    };
    // Where anything was painted, and whether all of it is red.
    static Ink inkOf(id image) {
        Ink ink;
        Pixels pixels = pixelsOf(image);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                Pixel p = pixels.at(x, y);
                if (p.alpha == 0) continue;
                ++ink.pixels;
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
                if (p.green != 0 || p.blue != 0) ink.onlyRed = false;
            }
        return ink;
    }
};

TEST_F(StringDrawingTest, LineFragmentOriginPutsTheTextBelowAndRightOfTheOrigin) {
    id image = drawn([] {
        msg<void>(NSSTR("HHHH"), sel<"drawWithRect:options:attributes:context:">(), CGRect{{10, 8}, {100, 30}},
                  NSStringDrawingUsesLineFragmentOrigin, attributes(16, color("redColor")), static_cast<id>(nil));
    });
    Ink ink = inkOf(image);
    ASSERT_GT(ink.pixels, 20);
    EXPECT_TRUE(ink.onlyRed);
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 8);
    EXPECT_LE(ink.bottom, 8 + 20);  // one line of a 16-point font
}

TEST_F(StringDrawingTest, WithoutLineFragmentOriginTheOriginIsTheBaseline) {
    id image = drawn([] {
        msg<void>(NSSTR("HHHH"), sel<"drawWithRect:options:attributes:context:">(), CGRect{{10, 30}, {100, 30}}, 0L,
                  attributes(16, color("redColor")), static_cast<id>(nil));
    });
    Ink ink = inkOf(image);
    ASSERT_GT(ink.pixels, 20);
    EXPECT_LE(ink.bottom, 30);  // capitals sit on the baseline
    EXPECT_GE(ink.top, 30 - 16);
}

TEST_F(StringDrawingTest, BackgroundColourFillsTheLineBoxBehindTheText) {
    id image = drawn([] {
        msg<void>(NSSTR("i"), sel<"drawWithRect:options:attributes:context:">(), CGRect{{10, 10}, {100, 30}},
                  NSStringDrawingUsesLineFragmentOrigin, attributes(16, color("redColor"), color("blueColor")), static_cast<id>(nil));
    });
    EXPECT_EQ(pixelAt(image, 10, 10), (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(image, 9, 10), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(image, 10, 9), (Pixel{0, 0, 0, 0}));
}

TEST_F(StringDrawingTest, DefaultsAndNothingToDrawOn) {
    id image = drawn([] {
        msg<void>(NSSTR("H"), sel<"drawWithRect:options:attributes:context:">(), CGRect{{0, 0}, {100, 30}},
                  NSStringDrawingUsesLineFragmentOrigin, static_cast<id>(nil), static_cast<id>(nil));
        msg<void>(NSSTR(""), sel<"drawWithRect:options:attributes:context:">(), CGRect{{50, 0}, {100, 30}},
                  NSStringDrawingUsesLineFragmentOrigin, attributes(16, color("redColor")), static_cast<id>(nil));
    });
    Pixel darkest{255, 255, 255, 0};
    Pixels pixels = pixelsOf(image);
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 20; ++y)
            if (Pixel p = pixels.at(x, y); p.alpha > darkest.alpha) darkest = p;
    EXPECT_GT(darkest.alpha, 128);  // black text, Helvetica 12 by default
    EXPECT_EQ(darkest.red, 0);
    EXPECT_LT(inkOf(image).right, 50);  // the empty string drew nothing

    // Without a current context, drawing is a no-op rather than a crash.
    msg<void>(NSSTR("H"), sel<"drawWithRect:options:attributes:context:">(), CGRect{{0, 0}, {10, 10}}, 0L, static_cast<id>(nil),
              static_cast<id>(nil));
}

TEST_F(StringDrawingTest, TheShorterFormsGoThroughDrawWithRect) {
    Class counting = objc_getClass("UIKitTestCountingString");
    if (!counting) {
        counting = objc_allocateClassPair(NSString::class_(), "UIKitTestCountingString", 0);
        objc::addMethod(counting, sel<"drawWithRect:options:attributes:context:">(), [](id, SEL, CGRect, long, id, id) { ++gDrawCalls; });
        objc_registerClassPair(counting);
    }
    auto string = NSString::create(u"counted", counting);
    drawn([&] {
        msg<void>(string.get(), sel<"drawInRect:withAttributes:">(), CGRect{{0, 0}, {50, 20}}, static_cast<id>(nil));
        msg<void>(string.get(), sel<"drawAtPoint:withAttributes:">(), CGPoint{0, 0}, static_cast<id>(nil));
    });
    EXPECT_EQ(gDrawCalls, 2);
}

TEST_F(StringDrawingTest, MeasuringFollowsFontSizeAndWrapping) {
    CGSize small = msg<CGSize>(NSSTR("Hello"), sel<"sizeWithAttributes:">(), attributes(10, nil));
    CGSize large = msg<CGSize>(NSSTR("Hello"), sel<"sizeWithAttributes:">(), attributes(20, nil));
    EXPECT_GT(small.width, 0);
    EXPECT_NEAR(large.width, 2 * small.width, small.width * 0.2);
    EXPECT_GT(large.height, small.height);
    EXPECT_EQ((msg<CGSize>(NSSTR(""), sel<"sizeWithAttributes:">(), attributes(10, nil))), CGSizeZero);

    id words = NSSTR("one two three four five six");
    CGRect oneLine = msg<CGRect>(words, sel<"boundingRectWithSize:options:attributes:context:">(), CGSize{1000, 1000},
                                 NSStringDrawingUsesLineFragmentOrigin, attributes(12, nil), static_cast<id>(nil));
    CGRect wrapped = msg<CGRect>(words, sel<"boundingRectWithSize:options:attributes:context:">(), CGSize{60, 1000},
                                 NSStringDrawingUsesLineFragmentOrigin, attributes(12, nil), static_cast<id>(nil));
    EXPECT_GT(wrapped.size.height, 2 * oneLine.size.height);
    EXPECT_LE(wrapped.size.width, 60);
    CGRect baseline = msg<CGRect>(words, sel<"boundingRectWithSize:options:attributes:context:">(), CGSize{60, 1000}, 0L,
                                  attributes(12, nil), static_cast<id>(nil));
    EXPECT_LT(baseline.origin.y, 0);  // measured from the baseline, the line box starts above it
}

}  // namespace
