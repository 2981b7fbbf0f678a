// Blend modes the drawing code relies on: normal composites over what is there, copy replaces it.
#include "test_bitmaps.h"

#include <gtest/gtest.h>

namespace {

using cgtest::Bitmap;
using cgtest::Bytes4;

TEST(BlendMode, NormalCompositesTranslucentPaintOverTheBackground) {
    Bitmap bitmap(1, 1, cgtest::kRGBA);
    bitmap.fill(CGRectMake(0, 0, 1, 1), 0, 0, 1, 1);
    bitmap.fill(CGRectMake(0, 0, 1, 1), 1, 0, 0, 0.4);
    Bytes4 p = bitmap.at(0, 0);
    EXPECT_EQ(p[0], 102);
    EXPECT_NEAR(p[2], 153, 1);
    EXPECT_EQ(p[3], 255);
}

TEST(BlendMode, CopyReplacesPixelsInsideTheShapeOnly) {
    Bitmap bitmap(2, 1, cgtest::kRGBA);
    bitmap.fill(CGRectMake(0, 0, 2, 1), 0, 0, 1, 1);
    CGContextSetBlendMode(bitmap.context, kCGBlendModeCopy);
    bitmap.fill(CGRectMake(0, 0, 1, 1), 1, 0, 0, 0.4);
    EXPECT_EQ(bitmap.at(0, 0), (Bytes4{102, 0, 0, 102}));
    EXPECT_EQ(bitmap.at(1, 0), (Bytes4{0, 0, 255, 255}));
}

TEST(BlendMode, CopyDrawingOfAnImageWritesEveryByteOfItsRectangle) {
    // Memory full of bytes that are no valid premultiplied pixel; the copy blend must leave none.
    Bitmap bitmap(2, 1, cgtest::kRGBA, 0x5A);
    bitmap.memory[3] = 0;  // colour over zero alpha
    CGImageRef image = cgtest::createImage(2, {{0, 0, 0, 0}, {40, 0, 0, 128}});
    CGContextSetBlendMode(bitmap.context, kCGBlendModeCopy);
    CGContextDrawImage(bitmap.context, CGRectMake(0, 0, 2, 1), image);
    EXPECT_EQ(bitmap.at(0, 0), (Bytes4{0, 0, 0, 0}));
    EXPECT_EQ(bitmap.at(1, 0), (Bytes4{40, 0, 0, 128}));
    CGImageRelease(image);
}

TEST(BlendMode, NormalDrawingOfAnImageKeepsWhatShowsThrough) {
    Bitmap bitmap(2, 1, cgtest::kRGBA);
    bitmap.fill(CGRectMake(0, 0, 2, 1), 0, 1, 0, 1);
    CGImageRef image = cgtest::createImage(2, {{0, 0, 0, 0}, {255, 0, 0, 255}});
    CGContextDrawImage(bitmap.context, CGRectMake(0, 0, 2, 1), image);
    EXPECT_EQ(bitmap.at(0, 0), (Bytes4{0, 255, 0, 255}));
    EXPECT_EQ(bitmap.at(1, 0), (Bytes4{255, 0, 0, 255}));
    CGImageRelease(image);
}

}  // namespace
