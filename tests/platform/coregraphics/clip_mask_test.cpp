// Clipping to a mask: the mask is placed as an image would be drawn, so a snapshot taken flipped lines up with an upright drawing.
#include "test_bitmaps.h"

#include <gtest/gtest.h>

namespace {

using cgtest::Bitmap;
using cgtest::Bytes4;

constexpr Bytes4 kClear{0, 0, 0, 0}, kRed{255, 0, 0, 255}, kBlack{0, 0, 0, 255};

// A picture `side` pixels square whose top half is opaque black and bottom half clear.
CGImageRef topHalfGlyph(size_t side) {
    std::vector<Bytes4> pixels;
    for (size_t row = 0; row < side; ++row)
        for (size_t x = 0; x < side; ++x) pixels.push_back(row < side / 2 ? kBlack : kClear);
    return cgtest::createImage(side, pixels);
}

// Draws as UIImage's drawInRect: does in a UIKit context: flipped about the rectangle so that the
// picture shows upright in a space whose y grows downwards.
void drawUpright(CGContextRef c, CGRect rect, CGImageRef image) {
    CGContextSaveGState(c);
    CGContextTranslateCTM(c, rect.origin.x, rect.origin.y + rect.size.height);
    CGContextScaleCTM(c, 1, -1);
    CGContextDrawImage(c, CGRectMake(0, 0, rect.size.width, rect.size.height), image);
    CGContextRestoreGState(c);
}

TEST(ClipToMask, UnflippedMaskShowsItsFirstRowAtTheTop) {
    CGImageRef mask = topHalfGlyph(2);
    Bitmap bitmap(2, 2, cgtest::kRGBA);
    CGContextClipToMask(bitmap.context, CGRectMake(0, 0, 2, 2), mask);
    bitmap.fill(CGRectMake(0, 0, 2, 2), 1, 0, 0, 1);
    EXPECT_EQ(bitmap.at(0, 0), kRed);
    EXPECT_EQ(bitmap.at(1, 0), kRed);
    EXPECT_EQ(bitmap.at(0, 1), kClear);
    EXPECT_EQ(bitmap.at(1, 1), kClear);
    CGImageRelease(mask);
}

TEST(ClipToMask, FlippedContextPlacesTheMaskLikeItDrawsTheImage) {
    CGImageRef glyph = topHalfGlyph(2);
    Bitmap drawn(2, 2, cgtest::kRGBA), clipped(2, 2, cgtest::kRGBA);
    drawn.flip();
    clipped.flip();
    CGContextDrawImage(drawn.context, CGRectMake(0, 0, 2, 2), glyph);
    CGContextClipToMask(clipped.context, CGRectMake(0, 0, 2, 2), glyph);
    clipped.fill(CGRectMake(0, 0, 2, 2), 1, 0, 0, 1);
    for (size_t row = 0; row < 2; ++row)
        for (size_t x = 0; x < 2; ++x) EXPECT_EQ(drawn.at(x, row)[3], clipped.at(x, row)[3]) << x << "," << row;
    EXPECT_EQ(clipped.at(0, 1), kRed);  // upside down, as the drawn image is
    CGImageRelease(glyph);
}

TEST(ClipToMask, FlippedSnapshotLinesUpWithAnUprightDrawing) {
    // The tinting recipe at screen scale 3: a 2 × 2-point glyph, its snapshot taken after one more
    // flip, then used as the mask over the glyph drawn upright. Red lands exactly on the glyph.
    const double scale = 3;
    const size_t side = 6;
    CGImageRef glyph = topHalfGlyph(side);
    auto uikitContext = [&](Bitmap& b) {
        b.flip();
        CGContextScaleCTM(b.context, scale, scale);
    };

    Bitmap first(side, side, cgtest::kRGBA);
    uikitContext(first);
    CGContextTranslateCTM(first.context, 0, 2);
    CGContextScaleCTM(first.context, 1, -1);
    drawUpright(first.context, CGRectMake(0, 0, 2, 2), glyph);
    CGImageRef mask = CGBitmapContextCreateImage(first.context);

    Bitmap second(side, side, cgtest::kRGBA);
    uikitContext(second);
    drawUpright(second.context, CGRectMake(0, 0, 2, 2), glyph);
    CGContextClipToMask(second.context, CGRectMake(0, 0, 2, 2), mask);
    second.fill(CGRectMake(0, 0, 2, 2), 1, 0, 0, 1);

    for (size_t row = 0; row < side; ++row)
        for (size_t x = 0; x < side; ++x) EXPECT_EQ(second.at(x, row), row < side / 2 ? kRed : kClear) << x << "," << row;
    CGImageRelease(mask);
    CGImageRelease(glyph);
}

TEST(ClipToMask, AMaskPlacedPixelForPixelKeepsEachAlphaWhereverItLands) {
    // Four different alphas, so a mask turned or shifted by a pixel shows.
    const uint8_t alphas[2][2] = {{255, 128}, {64, 16}};
    CGImageRef mask = cgtest::createImage(2, {{0, 0, 0, 255}, {0, 0, 0, 128}, {0, 0, 0, 64}, {0, 0, 0, 16}});
    struct Placement {
        bool flipped;
        CGRect rect;
        int left, top;    // device pixel of the mask's first row and column
        int rowStep;      // device rows per mask row: 1 upright, -1 upside down
    };
    const Placement placements[] = {
        {false, CGRectMake(1, 1, 2, 2), 1, 1, 1},
        {false, CGRectMake(-1, -1, 2, 2), -1, 3, 1},   // only the top right pixel is inside
        {false, CGRectMake(3, 3, 2, 2), 3, -1, 1},     // only the bottom left pixel is inside
        {true, CGRectMake(1, 0, 2, 2), 1, 1, -1},
        {true, CGRectMake(-1, 3, 2, 2), -1, 4, -1},
    };
    for (const Placement& p : placements) {
        Bitmap bitmap(4, 4, cgtest::kRGBA);
        if (p.flipped) bitmap.flip();
        CGContextClipToMask(bitmap.context, p.rect, mask);
        bitmap.fill(CGRectMake(-4, -4, 12, 12), 1, 0, 0, 1);
        for (int row = 0; row < 4; ++row)
            for (int x = 0; x < 4; ++x) {
                int u = x - p.left, v = (row - p.top) * p.rowStep;
                uint8_t expected = u >= 0 && u < 2 && v >= 0 && v < 2 ? alphas[v][u] : 0;
                Bytes4 pixel = bitmap.at(size_t(x), size_t(row));
                EXPECT_EQ(pixel[3], expected) << p.rect.origin.x << "," << p.rect.origin.y << " at " << x << "," << row;
                EXPECT_EQ(pixel[0], expected);  // premultiplied red
            }
    }
    // Far beyond any surface: nothing lands, and nothing is read or written out of bounds.
    for (double far : {1e12, -1e12}) {
        Bitmap bitmap(4, 4, cgtest::kRGBA);
        CGContextClipToMask(bitmap.context, CGRectMake(far, far, 2, 2), mask);
        bitmap.fill(CGRectMake(-4, -4, 12, 12), 1, 0, 0, 1);
        for (size_t row = 0; row < 4; ++row)
            for (size_t x = 0; x < 4; ++x) EXPECT_EQ(bitmap.at(x, row), kClear) << far;
    }
    CGImageRelease(mask);
}

TEST(ClipToMask, OpaqueMasksClipByTheirGreyAndNothingLandsOutsideTheRectangle) {
    // Without alpha, a mask's grey is its coverage: white paints, black does not.
    CGImageRef mask = cgtest::createImage(2, {{255, 255, 255, 255}, {0, 0, 0, 255}},
                                          kCGImageAlphaNoneSkipLast | kCGBitmapByteOrder32Big);
    Bitmap bitmap(3, 1, cgtest::kRGBA);
    CGContextClipToMask(bitmap.context, CGRectMake(0, 0, 2, 1), mask);
    bitmap.fill(CGRectMake(0, 0, 3, 1), 1, 0, 0, 1);
    EXPECT_EQ(bitmap.at(0, 0), kRed);
    EXPECT_EQ(bitmap.at(1, 0), kClear);
    EXPECT_EQ(bitmap.at(2, 0), kClear);
    CGImageRelease(mask);
}

TEST(ClipToMask, RestoringTheStateRemovesTheMask) {
    CGImageRef mask = topHalfGlyph(2);
    Bitmap bitmap(2, 2, cgtest::kRGBA);
    CGContextSaveGState(bitmap.context);
    CGContextClipToMask(bitmap.context, CGRectMake(0, 0, 2, 2), mask);
    CGContextRestoreGState(bitmap.context);
    bitmap.fill(CGRectMake(0, 0, 2, 2), 1, 0, 0, 1);
    EXPECT_EQ(bitmap.at(0, 1), kRed);
    CGImageRelease(mask);
}

}  // namespace
