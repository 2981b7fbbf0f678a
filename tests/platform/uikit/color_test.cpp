// UIColor: the three component views and when they fail, HSB on the hexcone model, and equality across spaces.
#include <CoreGraphics/CoreGraphics.h>
#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class UIColorTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;

    static id color(const char* name) { return msg<id>(UIColor::class_(), sel_registerName(name)); }
    static id rgb(double r, double g, double b, double a = 1) {
        return msg<id>(UIColor::class_(), sel<"colorWithRed:green:blue:alpha:">(), r, g, b, a);
    }
    static id white(double w, double a = 1) { return msg<id>(UIColor::class_(), sel<"colorWithWhite:alpha:">(), w, a); }
    static id hsb(double h, double s, double b, double a = 1) {
        return msg<id>(UIColor::class_(), sel<"colorWithHue:saturation:brightness:alpha:">(), h, s, b, a);
    }
    static id pattern() {
        uint32_t pixel = 0xff00ff00;
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGContextRef bitmap = CGBitmapContextCreate(&pixel, 1, 1, 8, 4, space, kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little);
        CGImageRef cgImage = CGBitmapContextCreateImage(bitmap);
        id image = msg<id>(UIImage::class_(), sel<"imageWithCGImage:">(), cgImage);
        CGImageRelease(cgImage);
        CGContextRelease(bitmap);
        CGColorSpaceRelease(space);
        return msg<id>(UIColor::class_(), sel<"colorWithPatternImage:">(), image);
    }

    struct HSBA {
        bool ok;
        double h = -1, s = -1, b = -1, a = -1;
    };
    static HSBA hsbOf(id c) {
        HSBA out{false};
        out.ok = msg<BOOL>(c, sel<"getHue:saturation:brightness:alpha:">(), &out.h, &out.s, &out.b, &out.a);
        return out;
    }
    static bool equal(id a, id b) { return msg<BOOL>(a, sel<"isEqual:">(), b); }
};

TEST_F(UIColorTest, NamedGreysAreMonochromeWithThePhonesWhiteLevels) {
    struct Expected {
        const char* name;
        double white, alpha;
    } expected[] = {{"blackColor", 0, 1}, {"whiteColor", 1, 1}, {"clearColor", 0, 0}, {"lightGrayColor", 2.0 / 3.0, 1}};
    for (const auto& e : expected) {
        double w = -1, a = -1;
        ASSERT_TRUE(msg<BOOL>(color(e.name), sel<"getWhite:alpha:">(), &w, &a)) << e.name;
        EXPECT_DOUBLE_EQ(w, e.white) << e.name;
        EXPECT_DOUBLE_EQ(a, e.alpha) << e.name;
        EXPECT_EQ(CGColorSpaceGetModel(CGColorGetColorSpace(static_cast<UIColor*>(color(e.name))->cgColor)), kCGColorSpaceModelMonochrome);
        EXPECT_EQ(CGColorGetNumberOfComponents(static_cast<UIColor*>(color(e.name))->cgColor), 2u);
    }
}

TEST_F(UIColorTest, RGBViewReadsRGBAndConvertsGreysButNotPatterns) {
    double r = -1, g = -1, b = -1, a = -1;
    ASSERT_TRUE(msg<BOOL>(rgb(0.2, 0.4, 0.6, 0.8), sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a));
    EXPECT_DOUBLE_EQ(r, 0.2);
    EXPECT_DOUBLE_EQ(g, 0.4);
    EXPECT_DOUBLE_EQ(b, 0.6);
    EXPECT_DOUBLE_EQ(a, 0.8);

    ASSERT_TRUE(msg<BOOL>(white(0.25, 0.5), sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a));
    EXPECT_DOUBLE_EQ(r, 0.25);
    EXPECT_DOUBLE_EQ(g, 0.25);
    EXPECT_DOUBLE_EQ(b, 0.25);
    EXPECT_DOUBLE_EQ(a, 0.5);

    r = g = b = a = -1;
    EXPECT_FALSE(msg<BOOL>(pattern(), sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a));
    EXPECT_EQ(r, -1);  // a failed view leaves the outputs alone
    EXPECT_EQ(a, -1);
}

TEST_F(UIColorTest, WhiteViewSucceedsForMonochromeOnly) {
    double w = -1, a = -1;
    EXPECT_FALSE(msg<BOOL>(rgb(0.5, 0.5, 0.5), sel<"getWhite:alpha:">(), &w, &a));
    EXPECT_FALSE(msg<BOOL>(pattern(), sel<"getWhite:alpha:">(), &w, &a));
    EXPECT_EQ(w, -1);
    EXPECT_TRUE(msg<BOOL>(white(0.5), sel<"getWhite:alpha:">(), &w, &a));
    EXPECT_DOUBLE_EQ(w, 0.5);
}

TEST_F(UIColorTest, NullOutputPointersAreAllowed) {
    double g = -1;
    EXPECT_TRUE(msg<BOOL>(rgb(0.1, 0.2, 0.3), sel<"getRed:green:blue:alpha:">(), static_cast<double*>(nullptr), &g,
                          static_cast<double*>(nullptr), static_cast<double*>(nullptr)));
    EXPECT_DOUBLE_EQ(g, 0.2);
}

TEST_F(UIColorTest, HSBOfGreysAndBlackHasNoHueOrSaturation) {
    for (id grey : {white(0.5), rgb(0.5, 0.5, 0.5), color("lightGrayColor")}) {
        HSBA v = hsbOf(grey);
        ASSERT_TRUE(v.ok);
        EXPECT_EQ(v.h, 0);
        EXPECT_EQ(v.s, 0);
    }
    EXPECT_DOUBLE_EQ(hsbOf(white(0.5)).b, 0.5);
    HSBA black = hsbOf(color("blackColor"));
    ASSERT_TRUE(black.ok);
    EXPECT_EQ(black.h, 0);
    EXPECT_EQ(black.s, 0);  // no division by a zero brightness
    EXPECT_EQ(black.b, 0);
    EXPECT_FALSE(hsbOf(pattern()).ok);
}

TEST_F(UIColorTest, HSBOfPureHuesFollowsTheHexcone) {
    struct Case {
        double r, g, b, hue;
    } cases[] = {{1, 0, 0, 0}, {1, 1, 0, 1.0 / 6}, {0, 1, 0, 1.0 / 3}, {0, 1, 1, 0.5}, {0, 0, 1, 2.0 / 3}, {1, 0, 1, 5.0 / 6}};
    for (const auto& c : cases) {
        HSBA v = hsbOf(rgb(c.r, c.g, c.b, 0.5));
        ASSERT_TRUE(v.ok);
        EXPECT_NEAR(v.h, c.hue, 1e-12) << c.r << c.g << c.b;
        EXPECT_DOUBLE_EQ(v.s, 1);
        EXPECT_DOUBLE_EQ(v.b, 1);
        EXPECT_DOUBLE_EQ(v.a, 0.5);
    }
    // A hue just below red wraps to the top of the range rather than going negative.
    HSBA v = hsbOf(rgb(1, 0, 0.1));
    EXPECT_GT(v.h, 0.9);
    EXPECT_LT(v.h, 1.0);
}

TEST_F(UIColorTest, HSBConstructionRoundTrips) {
    for (double hue : {0.0, 0.1, 0.33, 0.5, 0.72, 0.99}) {
        HSBA v = hsbOf(hsb(hue, 0.6, 0.8, 1));
        EXPECT_NEAR(v.h, hue, 1e-9);
        EXPECT_NEAR(v.s, 0.6, 1e-9);
        EXPECT_NEAR(v.b, 0.8, 1e-9);
    }
    double r, g, b, a;
    msg<BOOL>(hsb(1.0, 1, 1), sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a);
    EXPECT_DOUBLE_EQ(r, 1);  // a hue of 1 is red again
    EXPECT_DOUBLE_EQ(g, 0);
}

TEST_F(UIColorTest, EqualityComparesSpaceAndComponents) {
    EXPECT_TRUE(equal(color("blackColor"), white(0, 1)));
    EXPECT_FALSE(equal(color("blackColor"), rgb(0, 0, 0, 1)));
    EXPECT_FALSE(equal(rgb(0, 0, 0, 1), color("blackColor")));
    EXPECT_TRUE(equal(rgb(0.1, 0.2, 0.3), rgb(0.1, 0.2, 0.3)));
    EXPECT_FALSE(equal(rgb(0.1, 0.2, 0.3), rgb(0.1, 0.2, 0.3, 0.9)));
    EXPECT_FALSE(equal(color("clearColor"), color("blackColor")));
    EXPECT_FALSE(equal(white(0), NSSTR("black")));
    EXPECT_FALSE(equal(white(0), nil));
    EXPECT_EQ(msg<unsigned long>(rgb(0.1, 0.2, 0.3), sel<"hash">()), msg<unsigned long>(rgb(0.1, 0.2, 0.3), sel<"hash">()));
}

TEST_F(UIColorTest, AlphaComponentKeepsTheSpace) {
    id halfBlack = msg<id>(color("blackColor"), sel<"colorWithAlphaComponent:">(), 0.5);
    EXPECT_TRUE(equal(halfBlack, white(0, 0.5)));
    id halfRed = msg<id>(rgb(1, 0, 0), sel<"colorWithAlphaComponent:">(), 0.5);
    EXPECT_TRUE(equal(halfRed, rgb(1, 0, 0, 0.5)));
    id fadedPattern = msg<id>(pattern(), sel<"colorWithAlphaComponent:">(), 0.5);
    EXPECT_FALSE(msg<BOOL>(fadedPattern, sel<"getRed:green:blue:alpha:">(), static_cast<double*>(nullptr),
                           static_cast<double*>(nullptr), static_cast<double*>(nullptr), static_cast<double*>(nullptr)));
}

TEST_F(UIColorTest, PatternNeedsABitmap) {
    EXPECT_EQ(msg<id>(UIColor::class_(), sel<"colorWithPatternImage:">(), static_cast<id>(nil)), nil);
    EXPECT_EQ(objc::utf8(msg<id>(pattern(), sel<"description">())), "UIPatternColor");
}

}  // namespace
