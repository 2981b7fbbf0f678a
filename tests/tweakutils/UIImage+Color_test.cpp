// UIImage(Color): the pixels each operation makes of small images, the receiver and nil cases, and the scaler's exception.
#include "UIImage+Color.h"

#include "PixelImages.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIScreen.h>
#include <objc/NSException.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using pixels::imageOf;
using pixels::kBlack;
using pixels::kClear;
using pixels::kWhite;
using pixels::Pixel;
using pixels::pictureOf;
using pixels::uniformImage;

id rgba(double r, double g, double b, double a = 1.0) { return UIColor::colorWithRGBA(r, g, b, a); }

CGSize sizeOf(id image) { return msg<CGSize>(image, sel<"size">()); }
double scaleOf(id image) { return msg<double>(image, sel<"scale">()); }

void expectNear(Pixel actual, Pixel expected, int tolerance = 1) {
    for (int c = 0; c < 4; ++c)
        EXPECT_NEAR(actual[c], expected[c], tolerance) << "channel " << c;
}

// A 4 × 4 black glyph: opaque top half, a soft (alpha 128) third row, transparent bottom row.
id softGlyph(double scale = 1.0) {
    const Pixel half{0, 0, 0, 128};
    return imageOf({{kBlack, kBlack, kBlack, kBlack},
                    {kBlack, kBlack, kBlack, kBlack},
                    {half, half, half, half},
                    {kClear, kClear, kClear, kClear}},
                   scale);
}

// Pixel-exact checks draw at one pixel per point; each test that needs another scale sets it.
class ImageTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setMainScreenScale(1.0); }
    void TearDown() override { platform::setMainScreenScale(3.0); }
    objc::AutoreleasePool pool_;
};

TEST_F(ImageTest, NilImagesAnswerNilNoAndZero) {
    EXPECT_EQ(imageWithTint(nil, rgba(1, 0, 0)), nil);
    EXPECT_EQ(roundedImageWithRadius(nil, 2), nil);
    EXPECT_EQ(scaledToSize(nil, CGSizeMake(2, 2)), nil);
    EXPECT_EQ(vImageScaledImageWithSize(nil, CGSizeMake(2, 2)), nil);
    EXPECT_EQ(imageWithBrightness(nil, 0.5), nil);
    EXPECT_EQ(averageColor(nil), nil);
    EXPECT_EQ(luminosity(nil), 0.0);
    EXPECT_EQ(rgbaPixels(nil), nullptr);
    EXPECT_EQ(removeWhiteColor(nil), nil);
    EXPECT_FALSE(isSameImage(nil, nil));
    EXPECT_FALSE(hasAlpha(nil));
}

TEST_F(ImageTest, TintPaintsThroughTheGlyphsAlphaTheRightWayUp) {
    auto tinted = pictureOf(imageWithTint(softGlyph(), rgba(1, 0, 0)));
    ASSERT_EQ(tinted.width, 4u);
    expectNear(tinted.at(1, 0), {255, 0, 0, 255}, 0);
    expectNear(tinted.at(2, 1), {255, 0, 0, 255}, 0);
    // a × tint + (1 − a) × itself, premultiplied: 128 of red over the half-transparent black.
    expectNear(tinted.at(0, 2), {128, 0, 0, 192}, 1);
    expectNear(tinted.at(3, 3), kClear, 0);
}

TEST_F(ImageTest, TintFillsAnOpaqueImageAndLetsATranslucentTintShowThrough) {
    auto solid = pictureOf(imageWithTint(uniformImage(3, 2, {10, 200, 30, 255}, 1.0, false), rgba(1, 0, 0)));
    for (std::size_t y = 0; y < 2; ++y)
        for (std::size_t x = 0; x < 3; ++x) expectNear(solid.at(x, y), {255, 0, 0, 255}, 0);
    auto veiled = pictureOf(imageWithTint(uniformImage(2, 2, kBlack), rgba(1, 0, 0, 0.5)));
    expectNear(veiled.at(1, 1), {128, 0, 0, 255}, 1);
    // A nil tint leaves the fill colour the colour-space change set: opaque black.
    auto black = pictureOf(imageWithTint(uniformImage(2, 2, kWhite), nil));
    expectNear(black.at(0, 0), kBlack, 0);
}

TEST_F(ImageTest, TintKeepsThePointSizeAtTheMainScreensScale) {
    platform::setMainScreenScale(3.0);
    id tinted = imageWithTint(softGlyph(2.0), rgba(0, 0, 1));  // 4 × 4 pixels at scale 2: 2 × 2 points
    EXPECT_EQ(sizeOf(tinted).width, 2.0);
    EXPECT_EQ(sizeOf(tinted).height, 2.0);
    EXPECT_EQ(scaleOf(tinted), 3.0);
    auto picture = pictureOf(tinted);
    ASSERT_EQ(picture.width, 6u);
    expectNear(picture.at(2, 0), {0, 0, 255, 255}, 0);
    expectNear(picture.at(2, 5), kClear, 0);
    EXPECT_EQ(imageWithTint(pixels::emptyImage(), rgba(1, 0, 0)), nil);
}

TEST_F(ImageTest, RoundingWithRadiusTwoCutsCornersOfFourPoints) {
    id square = uniformImage(32, 32, {40, 80, 120, 255});
    EXPECT_EQ(roundedImageWithRadius(square, 0.0), square);
    EXPECT_EQ(roundedImageWithRadius(square, NAN), square);
    // A negative radius mirrors the system and the arcs fall back to lines: square corners.
    EXPECT_EQ(pictureOf(roundedImageWithRadius(square, -2.0)).at(0, 0), (Pixel{40, 80, 120, 255}));
    id rounded = roundedImageWithRadius(square, 2.0);
    EXPECT_EQ(sizeOf(rounded).width, 32.0);
    EXPECT_EQ(sizeOf(rounded).height, 32.0);
    auto picture = pictureOf(rounded);
    ASSERT_EQ(picture.width, 32u);
    for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}}) EXPECT_EQ(picture.at(x, y)[3], 0);
    // (0.5, 1.5) lies 4.3 points from the corner circle's centre (4, 4): outside a radius of 4,
    // though well inside the radius 2 that the argument alone would give.
    EXPECT_LT(picture.at(0, 1)[3], 40);
    EXPECT_LT(picture.at(1, 0)[3], 40);
    expectNear(picture.at(2, 2), {40, 80, 120, 255}, 0);
    expectNear(picture.at(0, 16), {40, 80, 120, 255}, 0);
    expectNear(picture.at(16, 16), {40, 80, 120, 255}, 0);
}

TEST_F(ImageTest, RoundingWithAnApplicationButNoWindowUsesTheMainScreensScale) {
    platform::createApplication();
    platform::setMainScreenScale(2.0);
    id rounded = roundedImageWithRadius(uniformImage(8, 8, kWhite), 1.0);
    EXPECT_EQ(scaleOf(rounded), 2.0);
    EXPECT_EQ(pictureOf(rounded).width, 16u);
}

TEST_F(ImageTest, VImageScalingTruncatesTheSizeToWholePixelsOfScaleOne) {
    id image = uniformImage(100, 100, {200, 100, 50, 255}, 2.0);
    id scaled = vImageScaledImageWithSize(image, CGSizeMake(50.9, 50.9));
    EXPECT_EQ(scaleOf(scaled), 1.0);
    EXPECT_EQ(msg<long>(scaled, sel<"imageOrientation">()), UIImageOrientationUp);
    auto picture = pictureOf(scaled);
    ASSERT_EQ(picture.width, 50u);
    ASSERT_EQ(picture.height, 50u);
    expectNear(picture.at(0, 0), {200, 100, 50, 255}, 1);
    expectNear(picture.at(25, 25), {200, 100, 50, 255}, 1);
}

TEST_F(ImageTest, VImageScalingRaisesWithTheSourceAndSizeWhenTheScalerRefuses) {
    id image = uniformImage(4, 4, kWhite);
    try {
        vImageScaledImageWithSize(image, CGSizeMake(0.5, 10));
        FAIL() << "no exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), "HighQualityImageScalingFailureException");
        EXPECT_EQ(e.reason(), "vImageScale returned error code -21773");
        EXPECT_EQ(msg<id>(e.userInfo(), sel<"objectForKey:">(), static_cast<id>(NSSTR("sourceImage"))), image);
        CGSize destSize = msg<CGSize>(msg<id>(e.userInfo(), sel<"objectForKey:">(), static_cast<id>(NSSTR("destSize"))),
                                      sel<"CGSizeValue">());
        EXPECT_EQ(destSize.width, 0.5);
        EXPECT_EQ(destSize.height, 10.0);
    }
    // Sizes no buffer can hold are refused the same way, not allocated or wrapped.
    for (CGSize size : {CGSizeMake(-5, 5), CGSizeMake(NAN, 5), CGSizeMake(1e30, 1e30)})
        EXPECT_THROW(vImageScaledImageWithSize(image, size), NSException);
}

TEST_F(ImageTest, BrightnessScalesColoursKeepsAlphaScaleAndOrientation) {
    id source = imageOf({{{200, 100, 50, 255}, {0, 0, 0, 128}}}, 2.0, true, UIImageOrientationDown);
    id dark = imageWithBrightness(source, 0.0);
    EXPECT_EQ(scaleOf(dark), 2.0);
    EXPECT_EQ(msg<long>(dark, sel<"imageOrientation">()), UIImageOrientationDown);
    auto black = pictureOf(dark);
    expectNear(black.at(0, 0), {0, 0, 0, 255}, 0);
    expectNear(black.at(1, 0), {0, 0, 0, 128}, 0);
    expectNear(pictureOf(imageWithBrightness(source, 0.5)).at(0, 0), {100, 50, 25, 255}, 1);
    expectNear(pictureOf(imageWithBrightness(source, 2.0)).at(0, 0), {255, 200, 100, 255}, 1);
    id empty = pixels::emptyImage();  // no Core Image image can be made of it
    EXPECT_EQ(imageWithBrightness(empty, 0.5), empty);
}

TEST_F(ImageTest, AverageColourOfUniformAndMixedImages) {
    double r, g, b, a;
    ASSERT_TRUE(msg<BOOL>(averageColor(uniformImage(3, 3, kWhite)), sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a));
    EXPECT_EQ(r, 1.0);
    EXPECT_EQ(a, 1.0);
    msg<BOOL>(averageColor(uniformImage(3, 3, kBlack, 1.0, false)), sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a);
    EXPECT_EQ(r + g + b, 0.0);
    EXPECT_EQ(a, 1.0);
    msg<BOOL>(averageColor(imageOf({{{255, 0, 0, 255}, {0, 0, 255, 255}}})), sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a);
    EXPECT_NEAR(r, 0.5, 0.003);
    EXPECT_NEAR(b, 0.5, 0.003);
    EXPECT_EQ(r, double(float(r)));  // 8-bit steps rounded to single precision
    EXPECT_EQ(averageColor(pixels::emptyImage()), nil);
}

TEST_F(ImageTest, LuminosityWeighsPremultipliedBytesOverTheArea) {
    EXPECT_DOUBLE_EQ(luminosity(uniformImage(4, 4, kWhite)), 1.0);
    EXPECT_DOUBLE_EQ(luminosity(uniformImage(4, 4, kBlack)), 0.0);
    EXPECT_NEAR(luminosity(uniformImage(4, 4, {0, 255, 0, 255})), 0.587, 1e-9);
    EXPECT_NEAR(luminosity(uniformImage(4, 4, {0, 0, 0, 0})), 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(luminosity(uniformImage(6, 6, kWhite, 3.0)), 1.0);  // drawn at one pixel per point
    EXPECT_TRUE(std::isnan(luminosity(pixels::emptyImage())));
    // 3 pixels at scale 2 are 1.5 points: one whole white pixel summed, divided by 2.25.
    EXPECT_NEAR(luminosity(uniformImage(3, 3, kWhite, 2.0)), 1.0 / 2.25, 1e-9);
}

TEST_F(ImageTest, RGBAPixelsAreTopRowFirstPremultipliedAtOnePixelPerPoint) {
    RGBAPixels bytes = rgbaPixels(imageOf({{{255, 0, 0, 255}, {0, 0, 0, 0}}, {{0, 0, 128, 128}, {0, 255, 0, 255}}}));
    ASSERT_NE(bytes, nullptr);
    const std::uint8_t expected[16] = {255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 128, 128, 0, 255, 0, 255};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;
    RGBAPixels reduced = rgbaPixels(uniformImage(4, 4, kWhite, 2.0));  // 2 × 2 points
    for (int i = 0; i < 16; ++i) EXPECT_EQ(reduced[i], 255) << "byte " << i;
}

TEST_F(ImageTest, RemovingWhiteMasksNearWhiteOfOpaqueImagesOnly) {
    id opaque = imageOf({{{230, 240, 250, 255}, {221, 255, 255, 255}}, {{255, 255, 255, 255}, {10, 20, 30, 255}}}, 1.0, false);
    auto picture = pictureOf(removeWhiteColor(opaque));
    ASSERT_EQ(picture.width, 2u);
    expectNear(picture.at(0, 0), kClear, 0);
    expectNear(picture.at(1, 0), {221, 255, 255, 255}, 0);
    expectNear(picture.at(0, 1), kClear, 0);
    expectNear(picture.at(1, 1), {10, 20, 30, 255}, 0);
    // Colour masking refuses images with alpha: nothing is drawn.
    auto refused = pictureOf(removeWhiteColor(uniformImage(2, 2, {10, 20, 30, 255})));
    for (std::size_t y = 0; y < 2; ++y)
        for (std::size_t x = 0; x < 2; ++x) expectNear(refused.at(x, y), kClear, 0);
}

TEST_F(ImageTest, SameImageComparesEncodedPixels) {
    id image = uniformImage(2, 2, {1, 2, 3, 255});
    EXPECT_TRUE(isSameImage(image, image));
    EXPECT_TRUE(isSameImage(image, uniformImage(2, 2, {1, 2, 3, 255})));
    EXPECT_FALSE(isSameImage(image, uniformImage(2, 2, {1, 2, 4, 255})));
    EXPECT_FALSE(isSameImage(image, nil));
    EXPECT_FALSE(isSameImage(image, pixels::emptyImage()));
}

TEST_F(ImageTest, HasAlphaOnlyForImagesWithAnAlphaChannel) {
    EXPECT_TRUE(hasAlpha(uniformImage(1, 1, kWhite)));
    EXPECT_FALSE(hasAlpha(uniformImage(1, 1, kWhite, 1.0, false)));
    std::uint8_t coverage[1] = {0};
    CGDataProviderRef provider = CGDataProviderCreateWithCopyOfData(coverage, 1);
    CGImageRef mask = CGImageMaskCreate(1, 1, 8, 8, 1, provider, nullptr, false);
    EXPECT_FALSE(hasAlpha(UIImage::imageWithCGImage(mask)));
    CGImageRelease(mask);
    CGDataProviderRelease(provider);
    EXPECT_FALSE(hasAlpha(pixels::emptyImage()));
}

TEST_F(ImageTest, ScalingToASizeStretchesAtTheMainScreensScale) {
    platform::setMainScreenScale(2.0);
    id scaled = scaledToSize(imageOf({{kWhite, kBlack}}), CGSizeMake(4, 1));
    EXPECT_EQ(scaleOf(scaled), 2.0);
    auto picture = pictureOf(scaled);
    ASSERT_EQ(picture.width, 8u);
    expectNear(picture.at(0, 0), kWhite, 0);
    expectNear(picture.at(7, 1), kBlack, 0);
}

}  // namespace
