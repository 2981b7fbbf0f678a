// CIContext: rendering rectangles of an image into new CGImages and into caller memory in 8-bit byte orders.
#include "test_images.h"

#include <gtest/gtest.h>

namespace {

using citest::RGBA;

constexpr RGBA kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kHalfGreen{0, 128, 0, 128};

id context() { return msg<id>(CIContext::class_(), sel<"contextWithOptions:">(), static_cast<id>(nil)); }

void render(id image, std::vector<uint8_t>& bytes, long rowBytes, CGRect bounds, CIFormat format) {
    msg<void>(context(), sel<"render:toBitmap:rowBytes:bounds:format:colorSpace:">(), image, static_cast<void*>(bytes.data()),
              rowBytes, bounds, format, static_cast<CGColorSpaceRef>(nullptr));
}

TEST(CIContextRender, WritesRGBA8RowsFromTheTop) {
    // Top row red, half-transparent green; bottom row blue, clear.
    objc::AutoreleasePool pool;
    id image = citest::ciImage(2, {kRed, kHalfGreen, kBlue, {0, 0, 0, 0}});
    std::vector<uint8_t> bytes(2 * 12, 0xEE);  // rows of 12 bytes: 8 of pixels, 4 of padding
    render(image, bytes, 12, CGRectMake(0, 0, 2, 2), kCIFormatRGBA8);
    std::vector<uint8_t> expected{255, 0, 0, 255, 0, 128, 0, 128, 0xEE, 0xEE, 0xEE, 0xEE,
                                  0, 0, 255, 255, 0, 0, 0, 0, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(bytes, expected);
}

TEST(CIContextRender, OtherByteOrdersAndAreasOutsideTheImage) {
    objc::AutoreleasePool pool;
    id image = citest::ciImage(1, {kHalfGreen});
    std::vector<uint8_t> bytes(8, 0xEE);
    render(image, bytes, 8, CGRectMake(0, 0, 2, 1), kCIFormatARGB8);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{128, 0, 128, 0, 0, 0, 0, 0}));
    render(image, bytes, 8, CGRectMake(0, 0, 2, 1), kCIFormatBGRA8);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 128, 0, 128, 0, 0, 0, 0}));
}

TEST(CIContextRender, WritesNothingForBadArguments) {
    objc::AutoreleasePool pool;
    id image = citest::ciImage(1, {kRed});
    std::vector<uint8_t> bytes(4, 0xEE);
    const std::vector<uint8_t> untouched = bytes;
    render(image, bytes, 3, CGRectMake(0, 0, 1, 1), kCIFormatRGBA8);        // row shorter than a pixel
    render(image, bytes, 4, CGRectMake(0, 0, 1, 1), 12345);                 // unknown format
    render(image, bytes, 4, CGRectMake(0, 0, INFINITY, 1), kCIFormatRGBA8);  // unbounded
    render(nil, bytes, 4, CGRectMake(0, 0, 1, 1), kCIFormatRGBA8);
    EXPECT_EQ(bytes, untouched);
    msg<void>(context(), sel<"render:toBitmap:rowBytes:bounds:format:colorSpace:">(), image, static_cast<void*>(nullptr), 4L,
              CGRectMake(0, 0, 1, 1), kCIFormatRGBA8, static_cast<CGColorSpaceRef>(nullptr));
}

TEST(CIContextCreateCGImage, TakesTheRectangleInUpwardSpace) {
    objc::AutoreleasePool pool;
    id image = citest::ciImage(1, {kRed, kBlue});
    CGImageRef top = msg<CGImageRef>(context(), sel<"createCGImage:fromRect:">(), image, CGRectMake(0, 1, 1, 1));
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(CGImageGetWidth(top), 1u);
    EXPECT_EQ(CGImageGetHeight(top), 1u);
    EXPECT_EQ(CGImageGetAlphaInfo(top), kCGImageAlphaPremultipliedLast);
    EXPECT_EQ(citest::pixelsOf(top), (std::vector<uint8_t>{255, 0, 0, 255}));
    CGImageRelease(top);
}

TEST(CIContextCreateCGImage, RoundTripsACGImageAndRefusesNothingToDraw) {
    objc::AutoreleasePool pool;
    std::vector<RGBA> pixels{kRed, kHalfGreen, kBlue, {10, 20, 30, 40}, {0, 0, 0, 0}, {255, 255, 255, 255}};
    id image = citest::ciImage(3, pixels);
    EXPECT_EQ(citest::rendered(image), pixels);
    EXPECT_EQ(msg<CGImageRef>(context(), sel<"createCGImage:fromRect:">(), static_cast<id>(nil), CGRectMake(0, 0, 1, 1)), nullptr);
    EXPECT_EQ(msg<CGImageRef>(context(), sel<"createCGImage:fromRect:">(), image, CGRectZero), nullptr);
    EXPECT_EQ(msg<CGImageRef>(context(), sel<"createCGImage:fromRect:">(), image, CGRectNull), nullptr);
}

}  // namespace
