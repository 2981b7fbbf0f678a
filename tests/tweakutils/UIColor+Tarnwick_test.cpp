// UIColor(Tarnwick): the light test, offset and lighter colours, hex strings both ways, and nil colours.
#include "UIColor+Tarnwick.h"

#include <Foundation/NSString.h>
#include <UIKit/UIColor.h>

#include <gtest/gtest.h>

#include <array>

namespace {

using RGBA = std::array<double, 4>;

id rgba(double r, double g, double b, double a = 1.0) { return UIColor::colorWithRGBA(r, g, b, a); }
id white(double w, double a = 1.0) { return UIColor::colorWithWhite(w, a); }
id hexColour(const char* text) { return tw_colorFromHexString(objc::str(text)); }
std::string hexOf(id colour) { return objc::utf8(tw_hexStringFromColor(colour)); }

RGBA componentsOf(id colour) {
    RGBA c{-1, -1, -1, -1};
    EXPECT_TRUE(msg<BOOL>(colour, sel<"getRed:green:blue:alpha:">(), &c[0], &c[1], &c[2], &c[3]));
    return c;
}

double brightnessOf(id colour) {
    double b = -1;
    EXPECT_TRUE(msg<BOOL>(colour, sel<"getHue:saturation:brightness:alpha:">(), static_cast<double*>(nullptr),
                          static_cast<double*>(nullptr), &b, static_cast<double*>(nullptr)));
    return b;
}

class ColourTest : public ::testing::Test {
    objc::AutoreleasePool pool_;
};

TEST_F(ColourTest, LightThresholdIsTheWidenedSinglePrecisionSeventenths) {
    EXPECT_TRUE(isLightColor(white(1)));
    EXPECT_FALSE(isLightColor(white(0)));
    EXPECT_TRUE(isLightColor(white(0.7)));     // 0.7 ≥ 0.699999988079071
    EXPECT_FALSE(isLightColor(white(0.6999)));
    EXPECT_TRUE(isLightColor(white(0.699999988079071)));
    EXPECT_FALSE(isLightColor(white(0.69999998)));
    EXPECT_TRUE(isLightColor(rgba(0.7, 0.7, 0.7)));  // the same grey in RGB form
    EXPECT_FALSE(isLightColor(rgba(0.6999, 0.6999, 0.6999)));
}

TEST_F(ColourTest, LumaWeighsStoredComponentsAndIgnoresAlpha) {
    EXPECT_FALSE(isLightColor(rgba(1, 0, 0)));  // 0.299
    EXPECT_TRUE(isLightColor(rgba(1, 1, 0)));   // 0.886
    EXPECT_FALSE(isLightColor(rgba(0, 1, 0)));  // 0.587
    EXPECT_TRUE(isLightColor(white(1, 0)));     // fully transparent white is still light
}

TEST_F(ColourTest, OffsetMovesHalfwayToTheOppositeEndAndAlphaHalfwayToOpaque) {
    EXPECT_EQ(componentsOf(offsetColor(white(1))), (RGBA{0.5, 0.5, 0.5, 1.0}));
    EXPECT_EQ(componentsOf(offsetColor(white(0))), (RGBA{0.5, 0.5, 0.5, 1.0}));
    EXPECT_EQ(componentsOf(offsetColor(rgba(0, 0, 0, 0.5))), (RGBA{0.5, 0.5, 0.5, 0.75}));
    EXPECT_EQ(componentsOf(midColorFrom(white(1), rgba(0, 0.5, 1, 0))), (RGBA{0.5, 0.75, 1.0, 0.5}));
}

TEST_F(ColourTest, LighterRaisesBlackToAFixedGreyAndCapsAtOne) {
    id fromBlack = lighterColor(white(0));
    EXPECT_DOUBLE_EQ(brightnessOf(fromBlack), 0.078);
    EXPECT_EQ(hexOf(fromBlack), "#131313");
    // Its hex form truncates to "#000000" too: brightness 0.078 with its own hue and saturation.
    EXPECT_EQ(hexOf(lighterColor(rgba(0.5 / 255, 0.9 / 255, 0, 0.3))), "#0B1300");
    EXPECT_EQ(brightnessOf(lighterColor(rgba(0.9, 0.45, 0))), 1.0);
    EXPECT_DOUBLE_EQ(brightnessOf(lighterColor(rgba(0.5, 0.25, 0))), 0.65);
    RGBA red = componentsOf(lighterColor(rgba(0.5, 0, 0, 0.4)));
    EXPECT_DOUBLE_EQ(red[0], 0.65);
    EXPECT_EQ(red[1], 0);
    EXPECT_EQ(red[2], 0);
    EXPECT_EQ(red[3], 0.4);
}

TEST_F(ColourTest, DarkerAndInverse) {
    EXPECT_EQ(brightnessOf(darkerColor(white(1))), 0.75);
    EXPECT_EQ(hexOf(darkerColor(white(1))), "#BFBFBF");
    RGBA inverse = componentsOf(inverseColor(rgba(0.2, 0.4, 0.6, 0.5)));
    EXPECT_DOUBLE_EQ(inverse[0], 0.8);
    EXPECT_DOUBLE_EQ(inverse[1], 0.6);
    EXPECT_DOUBLE_EQ(inverse[2], 0.4);
    EXPECT_EQ(inverse[3], 0.5);
}

TEST_F(ColourTest, HexParsingReadsTheNumberAfterTheFirstCharacter) {
    EXPECT_EQ(componentsOf(hexColour("#fdfdfd")), componentsOf(hexColour("#FDFDFD")));
    EXPECT_EQ(componentsOf(hexColour("#FFF")), (RGBA{0, 15 / 255.0, 1.0, 1.0}));
    EXPECT_EQ(componentsOf(hexColour("#11223344")), (RGBA{0x22 / 255.0, 0x33 / 255.0, 0x44 / 255.0, 1.0}));
    EXPECT_EQ(componentsOf(hexColour("red")), (RGBA{0, 0, 0xED / 255.0, 1.0}));
    EXPECT_EQ(componentsOf(hexColour("#0x00FF00")), (RGBA{0, 1, 0, 1}));
    EXPECT_EQ(componentsOf(hexColour("# 00FF00")), (RGBA{0, 1, 0, 1}));  // leading white space skipped
    EXPECT_EQ(componentsOf(hexColour("#FFFFFFFFFF")), (RGBA{1, 1, 1, 1}));  // too large: 0xFFFFFFFF
}

TEST_F(ColourTest, HexParsingOfUnreadableTextIsOpaqueBlack) {
    constexpr RGBA black{0, 0, 0, 1};
    EXPECT_EQ(componentsOf(hexColour("#")), black);
    EXPECT_EQ(componentsOf(hexColour("#xyz")), black);
    EXPECT_EQ(componentsOf(hexColour("")), black);
    EXPECT_EQ(componentsOf(tw_colorFromHexString(nil)), black);
}

TEST_F(ColourTest, HexStringsTruncateAndIgnoreAlpha) {
    EXPECT_EQ(hexOf(white(1)), "#FFFFFF");
    EXPECT_EQ(hexOf(white(0.5)), "#7F7F7F");
    EXPECT_EQ(hexOf(rgba(0.5, 0.5, 0.5)), "#7F7F7F");
    EXPECT_EQ(hexOf(hexColour("#fdfdfd")), "#FDFDFD");
    EXPECT_EQ(hexOf(hexColour("#FF2D55")), "#FF2D55");
    EXPECT_EQ(hexOf(rgba(1, 0.2, 0.4, 0)), hexOf(rgba(1, 0.2, 0.4, 1)));
    for (int k = 0; k < 256; ++k) {
        char text[8];
        std::snprintf(text, sizeof text, "#%02X%02X%02X", k, 255 - k, k / 2);
        ASSERT_EQ(hexOf(hexColour(text)), text);
    }
}

TEST_F(ColourTest, ExtendedRangeComponentsPrintAsTheyAreWithoutUndefinedConversions) {
    EXPECT_EQ(hexOf(rgba(-0.5, 0, 2)), "#FFFFFF81001FE");
    EXPECT_EQ(hexOf(rgba(1e300, 0, 0)), "#7FFFFFFF0000");
}

TEST_F(ColourTest, NilColoursAnswerNil) {
    EXPECT_EQ(lighterColor(nil), nil);
    EXPECT_EQ(darkerColor(nil), nil);
    EXPECT_EQ(inverseColor(nil), nil);
    EXPECT_EQ(midColorFrom(nil, white(1)), nil);
    EXPECT_EQ(offsetColor(nil), nil);
    EXPECT_FALSE(isLightColor(nil));
    EXPECT_EQ(tw_hexStringFromColor(nil), nil);
    HexColorText text;
    EXPECT_FALSE(hexTextFromColor(nil, &text));
    EXPECT_STREQ(text.text, "");
}

}  // namespace
