// UIColor(Tarnwick) image analysis: main colours and their shares, the text-key yardstick, average colour, light and white tests.
#include "UIColor+TarnwickAnalysis.h"

#include "main_colours_text_keys.h"
#include "PixelImages.h"

#include <CoreGraphics/CGColorSpace.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIColor.h>

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

using pixels::imageOf;
using pixels::kBlack;
using pixels::kClear;
using pixels::kWhite;
using pixels::Pixel;
using pixels::uniformImage;

using RGBA = std::array<double, 4>;

struct Share {
    RGBA colour;
    float share;
    bool operator==(const Share&) const = default;
};

RGBA componentsOf(id colour) {
    RGBA c{-1, -1, -1, -1};
    EXPECT_TRUE(msg<BOOL>(colour, sel<"getRed:green:blue:alpha:">(), &c[0], &c[1], &c[2], &c[3]));
    return c;
}

// The result's entries in dictionary order.
std::vector<Share> sharesOf(id colours) {
    std::vector<Share> shares;
    for (id colour : static_cast<NSDictionary*>(colours))
        shares.push_back({componentsOf(colour), msg<float>(msg<id>(colours, sel<"objectForKey:">(), colour), sel<"floatValue">())});
    return shares;
}

const std::vector<Share> kBlackOnly{{{0, 0, 0, 1}, 1.0f}};

// A width × height image whose channels are drawn from `palette`, opaque or with random alpha.
id randomImage(std::size_t width, std::size_t height, std::mt19937& random, const std::vector<int>& palette, bool opaque) {
    std::uniform_int_distribution<std::size_t> pick(0, palette.size() - 1);
    std::uniform_int_distribution<int> alpha(0, 255);
    std::vector<std::vector<Pixel>> rows(height, std::vector<Pixel>(width));
    for (auto& row : rows) {
        for (Pixel& p : row) {
            int a = opaque ? 255 : alpha(random);
            for (int c = 0; c < 3; ++c) p[c] = std::uint8_t(palette[pick(random)] * a / 255);
            p[3] = std::uint8_t(a);
        }
    }
    return imageOf(rows);
}

class AnalysisTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;
};

TEST_F(AnalysisTest, BlackNilAndClearImagesAreOpaqueBlackAtEveryDetail) {
    for (int detail : {0, 1, 2}) {
        EXPECT_EQ(sharesOf(mainColoursInImage(uniformImage(8, 8, kBlack), detail)), kBlackOnly) << detail;
        EXPECT_EQ(sharesOf(mainColoursInImage(nil, detail)), kBlackOnly) << detail;
        EXPECT_EQ(sharesOf(mainColoursInImage(uniformImage(8, 8, kClear), detail)), kBlackOnly) << detail;
        EXPECT_EQ(sharesOf(mainColoursInImage(pixels::emptyImage(), detail)), kBlackOnly) << detail;
    }
}

TEST_F(AnalysisTest, WhiteAtTheCoarseDetailIsTheFirstOfItsTiedKeys) {
    // All 27 keys of each sample tie; the first produced, 254,254,254, wins.
    const double c = double(254.0f / 255.0f);
    EXPECT_EQ(sharesOf(mainColoursInImage(uniformImage(4, 4, kWhite), 0)), (std::vector<Share>{{{c, c, c, 1}, 1.0f}}));
}

TEST_F(AnalysisTest, SharesCountVotesAmongAcceptedColoursNotArea) {
    // 8 black samples give 8 votes each to 0,0,0; 8 white ones one vote each to 27 keys, of
    // which only 254,254,254 is accepted: 64 / 72 against 8 / 72.
    std::vector<std::vector<Pixel>> halves(4, std::vector<Pixel>{kBlack, kBlack, kWhite, kWhite});
    const double c = double(254.0f / 255.0f);
    EXPECT_EQ(sharesOf(mainColoursInImage(imageOf(halves), 0)),
              (std::vector<Share>{{{0, 0, 0, 1}, 64.0f / 72.0f}, {{c, c, c, 1}, 8.0f / 72.0f}}));
}

TEST_F(AnalysisTest, DetailLevelsOtherThanZeroAndTwoAllSampleTenByTen) {
    std::mt19937 random(5);
    id image = randomImage(10, 10, random, {0, 90, 180, 255}, true);
    auto middle = sharesOf(mainColoursInImage(image, 1));
    for (int detail : {3, -1, 7}) EXPECT_EQ(sharesOf(mainColoursInImage(image, detail)), middle) << detail;
    EXPECT_NE(sharesOf(mainColoursInImage(image, 0)), middle);
}

TEST_F(AnalysisTest, MatchesTheTextKeyCountOnRandomImages) {
    std::mt19937 random(42);
    const std::vector<std::vector<int>> palettes = {{0, 1, 2, 128, 254, 255}, {0, 60, 61, 62, 200}};
    for (int detail : {0, 1}) {
        for (int round = 0; round < 12; ++round) {
            objc::AutoreleasePool pool;
            // Sizes from the grid itself (samples exact) to larger ones the drawing reduces.
            std::size_t side = std::size_t(detail == 0 ? 4 : 10) * (1 + round % 3);
            std::vector<int> everyByte(256);
            for (int i = 0; i < 256; ++i) everyByte[i] = i;
            const auto& palette = round % 4 == 3 ? everyByte : palettes[round % 2];
            id image = randomImage(side, side + round % 2, random, palette, round % 5 != 4);
            auto fast = sharesOf(mainColoursInImage(image, detail));
            ASSERT_EQ(fast, sharesOf(bench::textKeyMainColoursInImage(image, detail))) << "detail " << detail << ", round " << round;
            float sum = 0;
            for (std::size_t i = 0; i < fast.size(); ++i) {
                sum += fast[i].share;
                if (i > 0) {
                    EXPECT_GE(fast[i - 1].share, fast[i].share);
                }
            }
            EXPECT_NEAR(sum, 1.0f, 1e-5f);
        }
    }
}

TEST_F(AnalysisTest, ProgressRunsFromZeroToOne) {
    std::vector<double> seen;
    mainColoursInImage(uniformImage(10, 10, {10, 200, 30, 255}), 2, [&](double fraction) { seen.push_back(fraction); });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 1.0);
    for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i], seen[i - 1]);
}

TEST_F(AnalysisTest, AverageColourMultipliesTranslucentPixelsByAlphaOnceMore) {
    EXPECT_EQ(componentsOf(averageColorForImage(uniformImage(5, 5, {255, 0, 0, 255}))), (RGBA{1, 0, 0, 1}));
    RGBA translucent = componentsOf(averageColorForImage(uniformImage(5, 5, {128, 0, 0, 128})));
    EXPECT_NEAR(translucent[0], 128.0 * 128.0 / 65025.0, 1e-12);
    EXPECT_NEAR(translucent[3], 128.0 / 255.0, 1e-12);
    EXPECT_EQ(componentsOf(averageColorForImage(uniformImage(5, 5, kClear))), (RGBA{0, 0, 0, 0}));
    EXPECT_EQ(componentsOf(averageColorForImage(nil)), (RGBA{0, 0, 0, 0}));
    RGBA mixed = componentsOf(averageColorForImage(imageOf({{kBlack, kWhite}, {kWhite, kBlack}})));
    EXPECT_NEAR(mixed[1], 0.5, 0.003);
}

TEST_F(AnalysisTest, LightTestNeedsEveryPixelLightAndLogsEachOneVisited) {
    std::vector<std::string> lines;
    platform::setLogObserver([&](const std::string& line) { lines.push_back(line); });
    EXPECT_TRUE(imageIsLightColor(uniformImage(2, 2, kWhite)));
    EXPECT_EQ(lines.size(), 4u);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find(" red: 1.000000 green: 1.000000, blue:1.000000 alpha: 1.000000 HEX:#FFFFFFFF"), std::string::npos)
        << lines[0];

    lines.clear();
    std::vector<std::vector<Pixel>> oneClear(2, std::vector<Pixel>(3, kWhite));
    oneClear[0][1] = kClear;
    EXPECT_FALSE(imageIsLightColor(imageOf(oneClear)));
    ASSERT_EQ(lines.size(), 2u);  // stops at the first pixel that is not light
    EXPECT_NE(lines[1].find("HEX:#00000000"), std::string::npos) << lines[1];

    lines.clear();
    EXPECT_TRUE(imageIsLightColor(pixels::emptyImage()));
    EXPECT_TRUE(imageIsLightColor(nil));
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(imageIsLightColor(uniformImage(1, 1, {255, 0, 0, 255})));  // luma 0.299
    EXPECT_TRUE(imageIsLightColor(uniformImage(1, 1, {255, 255, 0, 255})));  // luma 0.886
    platform::setLogObserver({});
}

TEST_F(AnalysisTest, GreyImagesAreReadThroughRGB) {
    std::uint8_t light[4] = {255, 255, 255, 255}, dark[4] = {255, 40, 255, 255};
    for (auto [bytes, expected] : {std::pair{light, true}, {dark, false}}) {
        CGDataProviderRef provider = CGDataProviderCreateWithCopyOfData(bytes, 4);
        CGColorSpaceRef grey = CGColorSpaceCreateDeviceGray();
        CGImageRef bitmap = CGImageCreate(2, 2, 8, 8, 2, grey, kCGImageAlphaNone, provider, nullptr, false, kCGRenderingIntentDefault);
        id image = UIImage::imageWithCGImage(bitmap);
        platform::setLogObserver([](const std::string&) {});
        EXPECT_EQ(imageIsLightColor(image), expected);
        platform::setLogObserver({});
        EXPECT_EQ(imageIsAllWhite(image), expected);
        CGImageRelease(bitmap);
        CGColorSpaceRelease(grey);
        CGDataProviderRelease(provider);
    }
}

TEST_F(AnalysisTest, AllWhiteNeedsEveryByteAt255) {
    EXPECT_TRUE(imageIsAllWhite(uniformImage(3, 3, kWhite)));
    EXPECT_TRUE(imageIsAllWhite(uniformImage(3, 3, kWhite, 1.0, false)));
    std::vector<std::vector<Pixel>> almost(3, std::vector<Pixel>(3, kWhite));
    almost[2][2] = {255, 255, 254, 255};
    EXPECT_FALSE(imageIsAllWhite(imageOf(almost)));
    EXPECT_FALSE(imageIsAllWhite(uniformImage(3, 3, {128, 128, 128, 128})));  // half-transparent white
    EXPECT_TRUE(imageIsAllWhite(pixels::emptyImage()));
}

}  // namespace
