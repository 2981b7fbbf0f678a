// CGImageCreateWithMaskingColors: opaque images lose the pixels inside the ranges; images with alpha are refused.
#include "test_bitmaps.h"

#include <gtest/gtest.h>

namespace {

using cgtest::Bytes4;

const CGFloat kWhitish[6] = {222, 255, 222, 255, 222, 255};

TEST(MaskingColors, PixelsInsideEveryRangeBecomeTransparent) {
    CGImageRef opaque = cgtest::createImage(
        4, {{230, 240, 250, 255}, {221, 255, 255, 255}, {255, 255, 255, 255}, {10, 20, 30, 255}},
        kCGImageAlphaNoneSkipLast | kCGBitmapByteOrder32Big);
    CGImageRef masked = CGImageCreateWithMaskingColors(opaque, kWhitish);
    ASSERT_NE(masked, nullptr);
    EXPECT_EQ(CGImageGetWidth(masked), 4u);
    EXPECT_EQ(cgtest::pixelsOf(masked),
              (std::vector<Bytes4>{{0, 0, 0, 0}, {221, 255, 255, 255}, {0, 0, 0, 0}, {10, 20, 30, 255}}));
    CGImageRelease(masked);
    CGImageRelease(opaque);
}

TEST(MaskingColors, ImagesWithAnAlphaChannelAreRefused) {
    CGImageRef withAlpha = cgtest::createImage(1, {{255, 255, 255, 255}});
    EXPECT_EQ(CGImageCreateWithMaskingColors(withAlpha, kWhitish), nullptr);
    CGImageRef first = cgtest::createImage(1, {{255, 255, 255, 255}}, cgtest::kARGB);
    EXPECT_EQ(CGImageCreateWithMaskingColors(first, kWhitish), nullptr);
    EXPECT_EQ(CGImageCreateWithMaskingColors(nullptr, kWhitish), nullptr);
    CGImageRelease(first);
    CGImageRelease(withAlpha);
}

TEST(MaskingColors, ImagesAlreadyMaskedAreRefused) {
    // A masked image reports no alpha channel, yet its masked pixels are transparent; masking it
    // again must not bring them back as opaque black.
    CGImageRef opaque = cgtest::createImage(2, {{250, 250, 250, 255}, {10, 20, 30, 255}},
                                            kCGImageAlphaNoneSkipLast | kCGBitmapByteOrder32Big);
    CGImageRef masked = CGImageCreateWithMaskingColors(opaque, kWhitish);
    ASSERT_NE(masked, nullptr);
    const CGFloat dark[6] = {0, 40, 0, 40, 0, 40};
    EXPECT_EQ(CGImageCreateWithMaskingColors(masked, dark), nullptr);
    CGImageRelease(masked);
    CGImageRelease(opaque);
}

TEST(MaskingColors, DrawingTheMaskedImageLeavesTheBackgroundWhereColoursWereMasked) {
    CGImageRef opaque = cgtest::createImage(2, {{250, 250, 250, 255}, {10, 20, 30, 255}},
                                            kCGImageAlphaNoneSkipLast | kCGBitmapByteOrder32Big);
    CGImageRef masked = CGImageCreateWithMaskingColors(opaque, kWhitish);
    cgtest::Bitmap bitmap(2, 1, cgtest::kRGBA);
    bitmap.fill(CGRectMake(0, 0, 2, 1), 0, 0, 1, 1);
    CGContextDrawImage(bitmap.context, CGRectMake(0, 0, 2, 1), masked);
    EXPECT_EQ(bitmap.at(0, 0), (Bytes4{0, 0, 255, 255}));
    EXPECT_EQ(bitmap.at(1, 0), (Bytes4{10, 20, 30, 255}));
    CGImageRelease(masked);
    CGImageRelease(opaque);
}

}  // namespace
