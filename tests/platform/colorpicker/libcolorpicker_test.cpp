// LCPParseColorString: the accepted forms, the fallback and the last-resort black.
#include <colorpicker/libcolorpicker.h>

#include <CoreGraphics/CGColor.h>
#include <Foundation/NSString.h>
#include <UIKit/UIColor.h>

#include <gtest/gtest.h>

#include <array>

namespace {

using Components = std::array<double, 4>;

// The stored RGB components of a parsed colour; every result must be an RGB colour.
Components componentsOf(id color) {
    EXPECT_NE(color, nil);
    CGColorRef cg = msg<CGColorRef>(color, sel<"CGColor">());
    EXPECT_EQ(CGColorSpaceGetModel(CGColorGetColorSpace(cg)), kCGColorSpaceModelRGB);
    const CGFloat* c = CGColorGetComponents(cg);
    return {c[0], c[1], c[2], c[3]};
}

Components parse(id stored, const char* fallback = "#010203") {
    objc::AutoreleasePool pool;
    return componentsOf(LCPParseColorString(stored, fallback ? objc::str(fallback) : nil));
}

Components parse(const char* stored, const char* fallback = "#010203") { return parse(objc::str(stored), fallback); }

constexpr Components kFallback{1 / 255.0, 2 / 255.0, 3 / 255.0, 1.0};

TEST(ColorStringForms, LongAndShortHexInEitherCase) {
    EXPECT_EQ(parse("#FF8000"), (Components{1.0, 128 / 255.0, 0.0, 1.0}));
    EXPECT_EQ(parse("#fdfdfd"), parse("#FDFDFD"));
    EXPECT_EQ(parse("#fdfdfd")[0], 0xFD / 255.0);
    EXPECT_EQ(parse("#F80"), parse("#FF8800"));
    EXPECT_EQ(parse("#abc"), parse("#AABBCC"));
}

TEST(ColorStringForms, AlphaSuffix) {
    EXPECT_EQ(parse("#FF0000:0.5"), (Components{1.0, 0.0, 0.0, 0.5}));
    EXPECT_EQ(parse("#F00:0")[3], 0.0);
    EXPECT_EQ(parse("#F00:1")[3], 1.0);
    EXPECT_EQ(parse("#F00:.25")[3], 0.25);
}

TEST(ColorStringForms, SurroundingWhiteSpaceIsIgnored) {
    EXPECT_EQ(parse("  #123456\n"), parse("#123456"));
    EXPECT_EQ(parse("\t#123456:0.5 "), parse("#123456:0.5"));
}

TEST(ColorStringFallback, AbsentOrNonStringValueUsesTheFallback) {
    EXPECT_EQ(parse(static_cast<id>(nil)), kFallback);
    // A class object is an object but not a string.
    EXPECT_EQ(parse(reinterpret_cast<id>(NSString::class_())), kFallback);
}

TEST(ColorStringFallback, UnreadableTextUsesTheFallbackNotAMadeUpColour) {
    for (const char* bad : {"", "   ", "#", "red", "FF0000", "#12345", "#1234567", "#GGGGGG", "#12 345", "#FF0000:",
                            "#FF0000:1.5", "#FF0000:-0.5", "#FF0000:abc", "#FF0000:0.5.5", "#FF0000:1e-1", "#FF0000:nan",
                            "#FF0000 :0.5", "##FF0000"})
        EXPECT_EQ(parse(bad), kFallback) << '"' << bad << '"';
}

TEST(ColorStringFallback, UnreadableFallbackGivesOpaqueBlack) {
    constexpr Components black{0, 0, 0, 1};
    EXPECT_EQ(parse("nonsense", "also nonsense"), black);
    EXPECT_EQ(parse(static_cast<id>(nil), nullptr), black);
    EXPECT_EQ(parse("#FFFFFF", nullptr), (Components{1, 1, 1, 1}));  // a readable value needs no fallback
}

}  // namespace
