// PNG in and out: layouts of decoded images, round trips of pixels, deterministic bytes and refusal of bad data.
#include "test_bitmaps.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

using cgtest::Bytes4;

CGImageRef decode(const std::vector<uint8_t>& png) { return CGImageCreateWithPNGData(png.data(), png.size()); }

long peakKilobytes() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(PNG, RoundTripKeepsPremultipliedPixelsAndAlphaLayout) {
    std::vector<Bytes4> pixels{{255, 0, 0, 255}, {64, 32, 0, 128}, {0, 0, 0, 0}, {1, 2, 3, 4}, {90, 90, 90, 200}, {0, 0, 255, 255}};
    CGImageRef image = cgtest::createImage(3, pixels);
    std::vector<uint8_t> png = CGImageCopyPNGData(image);
    ASSERT_FALSE(png.empty());
    CGImageRef back = decode(png);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(CGImageGetWidth(back), 3u);
    EXPECT_EQ(CGImageGetHeight(back), 2u);
    EXPECT_EQ(CGImageGetAlphaInfo(back), kCGImageAlphaPremultipliedLast);
    EXPECT_EQ(cgtest::pixelsOf(back), pixels);
    CGImageRelease(back);
    CGImageRelease(image);
}

TEST(PNG, SamePixelsGiveTheSameBytes) {
    std::vector<Bytes4> pixels;
    for (int i = 0; i < 64; ++i) pixels.push_back({uint8_t(i * 3), uint8_t(255 - i), uint8_t(i), 255});
    std::vector<Bytes4> argb;
    for (const Bytes4& p : pixels) argb.push_back({p[3], p[0], p[1], p[2]});
    CGImageRef a = cgtest::createImage(8, pixels);
    CGImageRef b = cgtest::createImage(8, argb, cgtest::kARGB);  // the same picture in another byte order
    std::vector<uint8_t> first = CGImageCopyPNGData(a);
    EXPECT_EQ(first, CGImageCopyPNGData(a));
    EXPECT_EQ(first, CGImageCopyPNGData(b));
    // Decoding and encoding again changes nothing either.
    CGImageRef decoded = decode(first);
    EXPECT_EQ(CGImageCopyPNGData(decoded), first);
    CGImageRelease(decoded);
    CGImageRelease(a);
    CGImageRelease(b);
}

TEST(PNG, OpaqueRGBStaysWithoutAlphaChannel) {
    CGImageRef opaque = cgtest::createImage(2, {{10, 20, 30, 255}, {200, 100, 0, 255}},
                                            kCGImageAlphaNoneSkipLast | kCGBitmapByteOrder32Big);
    CGImageRef back = decode(CGImageCopyPNGData(opaque));
    ASSERT_NE(back, nullptr);
    CGImageAlphaInfo alpha = CGImageGetAlphaInfo(back);
    EXPECT_TRUE(alpha == kCGImageAlphaNoneSkipLast || alpha == kCGImageAlphaNone);
    EXPECT_EQ(cgtest::pixelsOf(back), (std::vector<Bytes4>{{10, 20, 30, 255}, {200, 100, 0, 255}}));
    // An image without alpha can be colour-masked, as the white-removal code expects.
    const CGFloat ranges[6] = {0, 50, 0, 50, 0, 50};
    CGImageRef masked = CGImageCreateWithMaskingColors(back, ranges);
    EXPECT_NE(masked, nullptr);
    CGImageRelease(masked);
    CGImageRelease(back);
    CGImageRelease(opaque);
}

TEST(PNG, BadDataGivesNoImage) {
    CGImageRef image = cgtest::createImage(4, std::vector<Bytes4>(16, {9, 9, 9, 255}));
    std::vector<uint8_t> png = CGImageCopyPNGData(image);
    ASSERT_GT(png.size(), 40u);
    EXPECT_EQ(decode(std::vector<uint8_t>(png.begin(), png.begin() + 40)), nullptr) << "truncated";
    std::vector<uint8_t> corrupt = png;
    for (size_t i = 33; i < corrupt.size(); ++i) corrupt[i] ^= 0x5A;
    EXPECT_EQ(decode(corrupt), nullptr) << "corrupted after the header";
    EXPECT_EQ(decode({1, 2, 3}), nullptr);
    EXPECT_EQ(CGImageCreateWithPNGData(nullptr, 100), nullptr);
    EXPECT_TRUE(CGImageCopyPNGData(nullptr).empty());
    CGImageRelease(image);
}

// A chunk's length is acted on as soon as its length and type are read, whatever follows.
TEST(PNG, AChunkIsMeasuredOnceItsHeaderIsThereEvenWithoutItsChecksum) {
    CGImageRef image = cgtest::createImage(4, std::vector<Bytes4>(16, {9, 9, 9, 255}));
    std::vector<uint8_t> png = CGImageCopyPNGData(image);
    CGImageRelease(image);
    constexpr size_t kAfterHeaderChunk = 33;  // signature, then IHDR's 13 bytes in their frame
    std::vector<uint8_t> claimsTooMuch(png.begin(), png.begin() + kAfterHeaderChunk);
    claimsTooMuch.insert(claimsTooMuch.end(), {0x73, 0x42, 0x49, 0x54, 'z', 'T', 'X', 't', 0x42, 0x60, 0x82});
    long peakBefore = peakKilobytes();
    EXPECT_EQ(decode(claimsTooMuch), nullptr) << "a text chunk of 1.9 GB in 44 bytes";
    EXPECT_LT(peakKilobytes() - peakBefore, 64 * 1024) << "refused before anything the size of the claim is allocated";

    std::vector<uint8_t> endCutShort(png.begin(), png.end() - 4);
    CGImageRef decoded = decode(endCutShort);
    EXPECT_NE(decoded, nullptr) << "the closing chunk without its checksum still leaves every pixel readable";
    CGImageRelease(decoded);
}

}  // namespace
