// Bitmap contexts: a known pixel read back through each byte order, the formats refused, and caller memory kept in step.
#include "test_bitmaps.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using cgtest::Bitmap;
using cgtest::Bytes4;

struct ByteOrderCase {
    const char* name;
    CGBitmapInfo info;
    Bytes4 opaque;       // (1, 0.2, 0.6) at alpha 1
    Bytes4 translucent;  // (1, 0, 0) at alpha 0.4, premultiplied
};

const ByteOrderCase kByteOrders[] = {
    {"RGBA premultiplied last, big-endian", cgtest::kRGBA, {255, 51, 153, 255}, {102, 0, 0, 102}},
    {"ARGB premultiplied first, big-endian", cgtest::kARGB, {255, 255, 51, 153}, {102, 102, 0, 0}},
    {"RGBA premultiplied last, default order", kCGImageAlphaPremultipliedLast, {255, 51, 153, 255}, {102, 0, 0, 102}},
    {"BGRA premultiplied first, little-endian", kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Little,
     {153, 51, 255, 255}, {0, 0, 102, 102}},
    {"ABGR premultiplied last, little-endian", kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Little,
     {255, 153, 51, 255}, {102, 0, 0, 102}},
};

TEST(BitmapContext, KnownPixelInEachByteOrder) {
    for (const auto& c : kByteOrders) {
        Bitmap bitmap(2, 1, c.info);
        ASSERT_NE(bitmap.context, nullptr) << c.name;
        bitmap.fill(CGRectMake(0, 0, 1, 1), 1, 0.2, 0.6, 1);
        bitmap.fill(CGRectMake(1, 0, 1, 1), 1, 0, 0, 0.4);
        EXPECT_EQ(bitmap.at(0, 0), c.opaque) << c.name;
        EXPECT_EQ(bitmap.at(1, 0), c.translucent) << c.name;
    }
}

TEST(BitmapContext, SnapshotsReadTheSamePixelWhateverTheByteOrder) {
    for (const auto& c : kByteOrders) {
        Bitmap bitmap(2, 1, c.info);
        bitmap.fill(CGRectMake(0, 0, 1, 1), 1, 0.2, 0.6, 1);
        bitmap.fill(CGRectMake(1, 0, 1, 1), 1, 0, 0, 0.4);
        CGImageRef image = CGBitmapContextCreateImage(bitmap.context);
        EXPECT_EQ(CGImageGetBitmapInfo(image), c.info) << c.name;
        EXPECT_EQ(cgtest::pixelsOf(image), (std::vector<Bytes4>{{255, 51, 153, 255}, {102, 0, 0, 102}})) << c.name;
        CGImageRelease(image);
    }
}

TEST(BitmapContext, CallerMemoryIsTheStartingPictureAndOnlyDrawnPixelsChange) {
    Bitmap bitmap(2, 2, cgtest::kARGB);
    ASSERT_NE(bitmap.context, nullptr);
    // Start again over prepared memory.
    CGContextRelease(bitmap.context);
    const Bytes4 argb[] = {{255, 10, 20, 30}, {128, 64, 0, 0}, {0, 0, 0, 0}, {255, 255, 255, 255}};
    for (size_t i = 0; i < 4; ++i) std::memcpy(&bitmap.memory[4 * i], argb[i].data(), 4);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    bitmap.context = CGBitmapContextCreate(bitmap.memory.data(), 2, 2, 8, 8, space, cgtest::kARGB);
    CGColorSpaceRelease(space);

    CGImageRef before = CGBitmapContextCreateImage(bitmap.context);
    EXPECT_EQ(cgtest::pixelsOf(before),
              (std::vector<Bytes4>{{10, 20, 30, 255}, {64, 0, 0, 128}, {0, 0, 0, 0}, {255, 255, 255, 255}}));
    // The bottom-left pixel in user space is memory row 1.
    bitmap.fill(CGRectMake(0, 0, 1, 1), 0, 0, 1, 1);
    EXPECT_EQ(bitmap.at(0, 1), (Bytes4{255, 0, 0, 255}));
    EXPECT_EQ(bitmap.at(0, 0), argb[0]);
    EXPECT_EQ(bitmap.at(1, 0), argb[1]);
    EXPECT_EQ(bitmap.at(1, 1), argb[3]);
    // The snapshot taken before drawing does not change.
    EXPECT_EQ(cgtest::pixelsOf(before)[2], (Bytes4{0, 0, 0, 0}));
    CGImageRelease(before);
}

TEST(BitmapContext, RefusesWhatThePhoneRefuses) {
    std::vector<uint8_t> memory(64 * 4);
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB(), gray = CGColorSpaceCreateDeviceGray();
    auto create = [&](size_t width, size_t bitsPerComponent, size_t rowBytes, CGColorSpaceRef space, CGBitmapInfo info) {
        CGContextRef c = CGBitmapContextCreate(memory.data(), width, 4, bitsPerComponent, rowBytes, space, info);
        bool made = c != nullptr;
        CGContextRelease(c);
        return made;
    };
    EXPECT_FALSE(create(4, 8, 16, gray, cgtest::kRGBA)) << "four bytes per pixel in a grey space";
    EXPECT_FALSE(create(4, 8, 16, gray, kCGImageAlphaPremultipliedFirst)) << "grey with alpha";
    EXPECT_FALSE(create(4, 8, 16, rgb, kCGImageAlphaNone)) << "RGB without alpha or skip byte";
    EXPECT_FALSE(create(4, 8, 16, rgb, kCGImageAlphaLast | kCGBitmapByteOrder32Big)) << "unpremultiplied alpha";
    EXPECT_FALSE(create(4, 16, 32, rgb, cgtest::kRGBA)) << "16 bits per component";
    EXPECT_FALSE(create(4, 8, 15, rgb, cgtest::kRGBA)) << "rows shorter than four pixels";
    EXPECT_FALSE(create(0, 8, 16, rgb, cgtest::kRGBA)) << "no width";
    EXPECT_FALSE(create(4, 8, 16, nullptr, cgtest::kRGBA)) << "no colour space";
    EXPECT_TRUE(create(4, 8, 4, gray, kCGImageAlphaNone)) << "one grey byte per pixel";
    EXPECT_TRUE(create(4, 8, 16, rgb, kCGImageAlphaNoneSkipFirst | kCGBitmapByteOrder32Big));
    CGColorSpaceRelease(rgb);
    CGColorSpaceRelease(gray);
}

TEST(BitmapContext, GreyBitmapsHoldTheGreyOfWhatIsDrawn) {
    std::vector<uint8_t> memory(2, 7);
    CGColorSpaceRef gray = CGColorSpaceCreateDeviceGray();
    CGContextRef c = CGBitmapContextCreate(memory.data(), 2, 1, 8, 2, gray, kCGImageAlphaNone);
    ASSERT_NE(c, nullptr);
    CGContextSetGrayFillColor(c, 0.6, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    CGContextSetRGBFillColor(c, 0, 1, 0, 1);
    CGContextFillRect(c, CGRectMake(1, 0, 1, 1));
    EXPECT_EQ(memory[0], 153);
    EXPECT_EQ(memory[1], 150);  // the luma of pure green, 0.587
    CGContextRelease(c);
    CGColorSpaceRelease(gray);
}


// A picture drawn over the whole of the caller's memory: over cleared memory, or with the copy blend
// mode, it becomes the memory; over a picture it blends with it, and later drawing sees both.
TEST(BitmapContext, PictureDrawnOverAllOfTheCallerMemoryBlendsWithWhatWasThere) {
    const std::vector<Bytes4> picture = {{255, 0, 0, 255}, {0, 0, 128, 128}, {0, 0, 0, 0}, {20, 40, 60, 255}};  // RGBA
    CGImageRef image = cgtest::createImage(2, picture);
    for (CGBitmapInfo info : {cgtest::kARGB, cgtest::kRGBA}) {
        auto inMemory = [info](Bytes4 rgba) {
            return info == cgtest::kARGB ? Bytes4{rgba[3], rgba[0], rgba[1], rgba[2]} : rgba;
        };
        Bitmap cleared(2, 2, info);
        CGContextDrawImage(cleared.context, CGRectMake(0, 0, 2, 2), image);
        for (size_t i = 0; i < 4; ++i) EXPECT_EQ(cleared.at(i % 2, i / 2), inMemory(picture[i])) << i;
        cleared.fill(CGRectMake(0, 0, 1, 1), 0, 1, 0, 1);  // the bottom-left pixel
        CGImageRef snapshot = CGBitmapContextCreateImage(cleared.context);
        EXPECT_EQ(cgtest::pixelsOf(snapshot), (std::vector<Bytes4>{picture[0], picture[1], {0, 255, 0, 255}, picture[3]}));
        CGImageRelease(snapshot);

        Bitmap white(2, 2, info, 255);
        CGContextDrawImage(white.context, CGRectMake(0, 0, 2, 2), image);
        EXPECT_EQ(white.at(0, 0), inMemory({255, 0, 0, 255}));
        EXPECT_EQ(white.at(1, 0), inMemory({127, 127, 255, 255}));  // half blue over white
        EXPECT_EQ(white.at(0, 1), inMemory({255, 255, 255, 255}));  // nothing over white

        // Cleared but for the last row: the half-blue pixel above is drawn once, not twice.
        Bitmap lastRowWhite(2, 2, info);
        std::fill(lastRowWhite.memory.begin() + 8, lastRowWhite.memory.end(), 255);
        CGContextDrawImage(lastRowWhite.context, CGRectMake(0, 0, 2, 2), image);
        EXPECT_EQ(lastRowWhite.at(1, 0), inMemory(picture[1]));
        EXPECT_EQ(lastRowWhite.at(0, 1), inMemory({255, 255, 255, 255}));

        Bitmap copied(2, 2, info, 255);
        CGContextSetBlendMode(copied.context, kCGBlendModeCopy);
        CGContextDrawImage(copied.context, CGRectMake(0, 0, 2, 2), image);
        EXPECT_EQ(copied.at(1, 0), inMemory(picture[1]));
        EXPECT_EQ(copied.at(0, 1), inMemory(picture[2]));
    }
    CGImageRelease(image);
}

// The same in memory the context keeps: a picture drawn upright or upside down over all of a new
// context is the picture, and a second picture drawn over it blends with it.
TEST(BitmapContext, PictureDrawnOverAllOfANewContextIsThePictureEitherWayUp) {
    const std::vector<Bytes4> picture = {{255, 0, 0, 255}, {0, 0, 128, 128}, {0, 0, 0, 0}, {20, 40, 60, 255}};  // RGBA
    CGImageRef image = cgtest::createImage(2, picture);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    for (bool upsideDown : {false, true}) {
        CGContextRef context = CGBitmapContextCreate(nullptr, 2, 2, 8, 0, space, cgtest::kARGB);
        if (upsideDown) {
            CGContextTranslateCTM(context, 0, 2);
            CGContextScaleCTM(context, 1, -1);
        }
        CGContextDrawImage(context, CGRectMake(0, 0, 2, 2), image);
        CGImageRef once = CGBitmapContextCreateImage(context);
        CGContextDrawImage(context, CGRectMake(0, 0, 2, 2), image);
        CGImageRef twice = CGBitmapContextCreateImage(context);
        auto expected = upsideDown ? std::vector<Bytes4>{picture[2], picture[3], picture[0], picture[1]} : picture;
        EXPECT_EQ(cgtest::pixelsOf(once), expected) << upsideDown;
        Bytes4 halfBlueTwice = {0, 0, 192, 192};
        EXPECT_EQ(cgtest::pixelsOf(twice)[upsideDown ? 3 : 1], halfBlueTwice) << upsideDown;
        CGImageRelease(once);
        CGImageRelease(twice);
        CGContextRelease(context);
    }
    CGColorSpaceRelease(space);
    CGImageRelease(image);
}

}  // namespace
