// Blend modes the drawing code relies on: normal composites over what is there, copy replaces it, clear clears what is drawn.
#include "test_bitmaps.h"

#include <CoreGraphics/CGCairo.h>

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

// Free drawing has no shape of its own: in the clear mode it clears what it draws, through the mask.
TEST(BlendMode, ClearModeFreeDrawingClearsOnlyWhatItDraws) {
    Bitmap bitmap(3, 1, cgtest::kRGBA);
    bitmap.fill(CGRectMake(0, 0, 3, 1), 0, 0, 1, 1);
    CGContextSetBlendMode(bitmap.context, kCGBlendModeClear);
    CGContextDrawWithCairo(bitmap.context, [](cairo_t* cr) {
        cairo_rectangle(cr, 0, 0, 1, 1);
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        cairo_fill(cr);
        cairo_rectangle(cr, 1, 0, 1, 1);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
        cairo_fill(cr);
    });
    EXPECT_EQ(bitmap.at(0, 0), (Bytes4{0, 0, 0, 0}));
    Bytes4 half = bitmap.at(1, 0);
    EXPECT_NEAR(half[2], 128, 1);
    EXPECT_NEAR(half[3], 128, 1);
    EXPECT_EQ(bitmap.at(2, 0), (Bytes4{0, 0, 255, 255}));
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
