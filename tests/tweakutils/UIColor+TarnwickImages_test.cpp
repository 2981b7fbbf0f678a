// UIColor(Tarnwick) image makers: solid images at the screen's scale or at scale 1, and a shifted fill.
#include "UIColor+TarnwickImages.h"

#include "PixelImages.h"

#include <UIKit/UIColor.h>
#include <UIKit/UIScreen.h>

#include <gtest/gtest.h>

namespace {

using pixels::pictureOf;

class SolidImageTest : public ::testing::Test {
protected:
    void TearDown() override { platform::setMainScreenScale(3.0); }
    objc::AutoreleasePool pool_;
};

TEST_F(SolidImageTest, ColourAndBoundsFillsEveryPixelAtTheScreensScale) {
    platform::setMainScreenScale(3.0);
    id image = imageWithColorAndBounds(UIColor::colorWithRGBA(0.2, 0.4, 0.6, 1.0), CGRectMake(0, 0, 32, 32));
    EXPECT_EQ(msg<CGSize>(image, sel<"size">()).width, 32.0);
    EXPECT_EQ(msg<double>(image, sel<"scale">()), 3.0);
    auto picture = pictureOf(image);
    ASSERT_EQ(picture.width, 96u);
    ASSERT_EQ(picture.height, 96u);
    for (std::size_t y = 0; y < 96; ++y)
        for (std::size_t x = 0; x < 96; ++x) ASSERT_EQ(picture.at(x, y), (pixels::Pixel{51, 102, 153, 255})) << x << "," << y;
}

TEST_F(SolidImageTest, AShiftedOriginLeavesTheUncoveredPartClear) {
    platform::setMainScreenScale(1.0);
    auto picture = pictureOf(imageWithColorAndBounds(UIColor::colorWithWhite(1, 1), CGRectMake(2, 0, 4, 4)));
    ASSERT_EQ(picture.width, 4u);
    EXPECT_EQ(picture.at(1, 1), pixels::kClear);
    EXPECT_EQ(picture.at(2, 1), pixels::kWhite);
    EXPECT_EQ(imageWithColorAndBounds(UIColor::colorWithWhite(1, 1), CGRectMake(0, 0, 0, 4)), nil);
}

TEST_F(SolidImageTest, ThumbnailIsAtScaleOneWhateverTheScreen) {
    platform::setMainScreenScale(2.0);
    id thumbnail = thumbnailWithSize(UIColor::colorWithRGBA(1, 0, 0, 0.5), CGSizeMake(3, 2));
    EXPECT_EQ(msg<double>(thumbnail, sel<"scale">()), 1.0);
    auto picture = pictureOf(thumbnail);
    ASSERT_EQ(picture.width, 3u);
    EXPECT_EQ(picture.at(2, 1), (pixels::Pixel{128, 0, 0, 128}));
    EXPECT_EQ(thumbnailWithSize(nil, CGSizeMake(3, 2)), nil);
}

}  // namespace
