// "CIAreaAverage": the mean premultiplied pixel over an extent in Core Image's upward space, as one pixel.
#include "test_images.h"

#include <gtest/gtest.h>

namespace {

using citest::RGBA;

constexpr RGBA kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kWhite{255, 255, 255, 255}, kBlack{0, 0, 0, 255};

// The average of the image over (x, y, w, h), rendered as 4 bytes at the filter's output origin.
RGBA average(id image, double x, double y, double w, double h) {
    id filter = citest::filter("CIAreaAverage");
    citest::set(filter, image, kCIInputImageKey);
    citest::set(filter, citest::vector(x, y, w, h), kCIInputExtentKey);
    id output = msg<id>(filter, sel<"outputImage">());
    CGRect extent = msg<CGRect>(output, sel<"extent">());
    EXPECT_EQ(extent.size.width, 1);
    EXPECT_EQ(extent.size.height, 1);
    RGBA pixel{9, 9, 9, 9};
    id context = msg<id>(CIContext::class_(), sel<"contextWithOptions:">(), static_cast<id>(nil));
    msg<void>(context, sel<"render:toBitmap:rowBytes:bounds:format:colorSpace:">(), output, static_cast<void*>(pixel.data()), 4L,
              extent, kCIFormatRGBA8, static_cast<CGColorSpaceRef>(nullptr));
    return pixel;
}

TEST(AreaAverage, UniformImagesAverageToTheirColour) {
    objc::AutoreleasePool pool;
    EXPECT_EQ(average(citest::ciImage(2, {kWhite, kWhite, kWhite, kWhite}), 0, 0, 2, 2), kWhite);
    EXPECT_EQ(average(citest::ciImage(2, {kBlack, kBlack, kBlack, kBlack}), 0, 0, 2, 2), kBlack);
    EXPECT_EQ(average(citest::ciImage(2, {kRed, kRed}), 0, 0, 2, 1), kRed);
}

TEST(AreaAverage, MixesPixelsEvenly) {
    objc::AutoreleasePool pool;
    RGBA mean = average(citest::ciImage(2, {kBlack, kWhite, kWhite, kWhite}), 0, 0, 2, 2);
    EXPECT_EQ(mean, (RGBA{191, 191, 191, 255}));
}

TEST(AreaAverage, ExtentCountsRowsFromTheBottom) {
    // Top row red, bottom row blue: y = 0 is the bottom row in Core Image's space.
    objc::AutoreleasePool pool;
    id image = citest::ciImage(2, {kRed, kRed, kBlue, kBlue});
    EXPECT_EQ(average(image, 0, 0, 2, 1), kBlue);
    EXPECT_EQ(average(image, 0, 1, 2, 1), kRed);
}

TEST(AreaAverage, TranslucentPixelsWeighByTheirAlpha) {
    // Opaque white beside clear: the premultiplied mean is white at half alpha, not a grey.
    objc::AutoreleasePool pool;
    EXPECT_EQ(average(citest::ciImage(2, {kWhite, {0, 0, 0, 0}}), 0, 0, 2, 1), (RGBA{128, 128, 128, 128}));
}

TEST(AreaAverage, AreaOutsideTheImageCountsAsClear) {
    objc::AutoreleasePool pool;
    EXPECT_EQ(average(citest::ciImage(1, {kRed}), 0, 0, 2, 1), (RGBA{128, 0, 0, 128}));
}

TEST(AreaAverage, EmptyOrUnboundedExtentGivesAClearPixel) {
    objc::AutoreleasePool pool;
    id image = citest::ciImage(1, {kRed});
    EXPECT_EQ(average(image, 0, 0, 0, 0), (RGBA{0, 0, 0, 0}));
    EXPECT_EQ(average(image, 0, 0, INFINITY, 1), (RGBA{0, 0, 0, 0}));
    EXPECT_EQ(average(image, NAN, 0, 1, 1), (RGBA{0, 0, 0, 0}));
}

}  // namespace
