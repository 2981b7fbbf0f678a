// vImageScale_ARGB8888: the phone's error codes for bad buffers, and what resampling does to known patterns.
#include <Accelerate/Accelerate.h>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using ARGB = std::array<uint8_t, 4>;

// A packed (or padded) ARGB buffer that owns its bytes.
struct Picture {
    size_t width, height, rowBytes;
    std::vector<uint8_t> bytes;

    Picture(size_t w, size_t h, size_t padding = 0) : width(w), height(h), rowBytes(w * 4 + padding), bytes(rowBytes * h) {}
    vImage_Buffer buffer() { return {bytes.data(), height, width, rowBytes}; }
    ARGB at(size_t x, size_t y) const {
        const uint8_t* p = &bytes[y * rowBytes + x * 4];
        return {p[0], p[1], p[2], p[3]};
    }
    void set(size_t x, size_t y, ARGB value) { std::copy(value.begin(), value.end(), &bytes[y * rowBytes + x * 4]); }
    void fill(ARGB value) {
        for (size_t y = 0; y < height; ++y)
            for (size_t x = 0; x < width; ++x) set(x, y, value);
    }
};

constexpr ARGB kRed{255, 255, 0, 0};
constexpr ARGB kBlue{255, 0, 0, 255};

TEST(vImageScale, RefusesMissingBuffersWithoutTouchingTheDestination) {
    Picture src(4, 4), dest(2, 2);
    src.fill(kRed);
    vImage_Buffer s = src.buffer(), d = dest.buffer();
    EXPECT_EQ(vImageScale_ARGB8888(nullptr, &d, nullptr, kvImageHighQualityResampling), kvImageNullPointerArgument);
    EXPECT_EQ(vImageScale_ARGB8888(&s, nullptr, nullptr, kvImageHighQualityResampling), kvImageNullPointerArgument);
    vImage_Buffer noData = d;
    noData.data = nullptr;
    EXPECT_EQ(vImageScale_ARGB8888(&s, &noData, nullptr, kvImageHighQualityResampling), kvImageNullPointerArgument);
    noData = s;
    noData.data = nullptr;
    EXPECT_EQ(vImageScale_ARGB8888(&noData, &d, nullptr, kvImageHighQualityResampling), kvImageNullPointerArgument);
    EXPECT_EQ(dest.at(0, 0), (ARGB{0, 0, 0, 0}));
}

TEST(vImageScale, RefusesZeroSizesAndShortRows) {
    Picture src(4, 4), dest(2, 2);
    vImage_Buffer s = src.buffer(), d = dest.buffer();
    vImage_Buffer zeroWide = d, zeroHigh = d;
    zeroWide.width = 0, zeroHigh.height = 0;
    EXPECT_EQ(vImageScale_ARGB8888(&s, &zeroWide, nullptr, kvImageHighQualityResampling), kvImageInvalidParameter);
    EXPECT_EQ(vImageScale_ARGB8888(&s, &zeroHigh, nullptr, kvImageHighQualityResampling), kvImageInvalidParameter);
    EXPECT_EQ(vImageScale_ARGB8888(&zeroHigh, &d, nullptr, kvImageHighQualityResampling), kvImageInvalidParameter);
    vImage_Buffer shortRows = d;
    shortRows.rowBytes = 7;
    EXPECT_EQ(vImageScale_ARGB8888(&s, &shortRows, nullptr, kvImageHighQualityResampling), kvImageInvalidRowBytes);
}

TEST(vImageScale, RefusesUnknownFlagsAndOverlappingBuffers) {
    Picture src(4, 4), dest(2, 2);
    vImage_Buffer s = src.buffer(), d = dest.buffer();
    EXPECT_EQ(vImageScale_ARGB8888(&s, &d, nullptr, 1u << 20), kvImageUnknownFlagsBit);
    vImage_Buffer firstHalf{src.bytes.data(), 2, 4, src.rowBytes};
    vImage_Buffer secondHalf{src.bytes.data() + src.rowBytes, 2, 2, src.rowBytes};
    EXPECT_EQ(vImageScale_ARGB8888(&firstHalf, &secondHalf, nullptr, kvImageNoFlags), kvImageOutOfPlaceOperationRequired);
}

TEST(vImageScale, TempBufferSizeQueryNeedsNoBuffer) {
    Picture src(4, 4), dest(2, 2);
    vImage_Buffer s = src.buffer(), d = dest.buffer();
    EXPECT_EQ(vImageScale_ARGB8888(&s, &d, nullptr, kvImageHighQualityResampling | kvImageGetTempBufferSize), 0);
}

TEST(vImageScale, UniformPictureStaysUniformEitherWay) {
    // Every pixel of the destination is written, whatever the ratio, the flags or the row padding.
    Picture packed(10, 10), padded(7, 3, 12);
    for (Picture* src : {&packed, &padded}) {
        src->fill({128, 64, 32, 16});
        for (auto [w, h] : {std::pair<size_t, size_t>{5, 5}, {23, 7}, {1, 1}, {3, 11}, {997, 2}})
            for (vImage_Flags flags : {kvImageNoFlags, kvImageHighQualityResampling}) {
                Picture dest(w, h);
                vImage_Buffer s = src->buffer(), d = dest.buffer();
                ASSERT_EQ(vImageScale_ARGB8888(&s, &d, nullptr, flags), kvImageNoError);
                for (size_t y = 0; y < h; ++y)
                    for (size_t x = 0; x < w; ++x)
                        ASSERT_EQ(dest.at(x, y), (ARGB{128, 64, 32, 16})) << src->width << " -> " << w << "x" << h << " at " << x << "," << y;
            }
    }
}

TEST(vImageScale, HalvingKeepsTheSidesOfATwoColourPattern) {
    // Left half red, right half blue: reduced to 4 × 4 the outer columns keep their colours and
    // the colours meet only in the middle.
    Picture src(8, 8);
    for (size_t y = 0; y < 8; ++y)
        for (size_t x = 0; x < 8; ++x) src.set(x, y, x < 4 ? kRed : kBlue);
    Picture dest(4, 4);
    vImage_Buffer s = src.buffer(), d = dest.buffer();
    ASSERT_EQ(vImageScale_ARGB8888(&s, &d, nullptr, kvImageHighQualityResampling), kvImageNoError);
    for (size_t y = 0; y < 4; ++y) {
        EXPECT_EQ(dest.at(0, y), kRed);
        EXPECT_EQ(dest.at(3, y), kBlue);
        EXPECT_GT(dest.at(1, y)[1], dest.at(1, y)[3]);  // more red than blue left of the middle
        EXPECT_LT(dest.at(2, y)[1], dest.at(2, y)[3]);
    }
}

TEST(vImageScale, SameSizeCopiesExactlyAndLeavesRowPaddingAlone) {
    Picture src(3, 2), dest(3, 2, 8);
    for (size_t y = 0; y < 2; ++y)
        for (size_t x = 0; x < 3; ++x) src.set(x, y, {uint8_t(200 + x), uint8_t(10 * x), uint8_t(y), 7});
    std::fill(dest.bytes.begin(), dest.bytes.end(), 0xAB);
    vImage_Buffer s = src.buffer(), d = dest.buffer();
    ASSERT_EQ(vImageScale_ARGB8888(&s, &d, nullptr, kvImageNoFlags), kvImageNoError);
    for (size_t y = 0; y < 2; ++y) {
        for (size_t x = 0; x < 3; ++x) EXPECT_EQ(dest.at(x, y), src.at(x, y));
        for (size_t i = 12; i < dest.rowBytes; ++i) EXPECT_EQ(dest.bytes[y * dest.rowBytes + i], 0xAB);
    }
}

TEST(vImageScale, EnlargingNextToTransparencyGivesValidPremultipliedPixels) {
    // Cubic filters overshoot at hard edges, and colour and alpha overshoot differently when they
    // change differently: between the clear pixel and the half-transparent white one the colour is
    // pulled up by its peak, while the alpha keeps rising towards the opaque black. No colour may
    // end up above its pixel's alpha.
    Picture src(4, 1);
    src.set(1, 0, {128, 128, 128, 128});
    src.set(2, 0, {255, 0, 0, 0});
    src.set(3, 0, {255, 0, 0, 0});
    Picture dest(16, 3);
    vImage_Buffer s = src.buffer(), d = dest.buffer();
    ASSERT_EQ(vImageScale_ARGB8888(&s, &d, nullptr, kvImageHighQualityResampling), kvImageNoError);
    for (size_t y = 0; y < 3; ++y)
        for (size_t x = 0; x < 16; ++x) {
            ARGB p = dest.at(x, y);
            for (int c = 1; c < 4; ++c) EXPECT_LE(p[c], p[0]) << x;
        }
    EXPECT_EQ(dest.at(0, 1), (ARGB{0, 0, 0, 0}));
    EXPECT_EQ(dest.at(15, 1), (ARGB{255, 0, 0, 0}));
}

}  // namespace
