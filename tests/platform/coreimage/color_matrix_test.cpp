// "CIColorMatrix": the matrix applied to unpremultiplied colours, with clamping to 0–1 and the default identity.
#include "test_images.h"

#include <gtest/gtest.h>

namespace {

using citest::RGBA;

// The matrix filter over one image, with only the vectors given here changed from the defaults.
struct Matrix {
    objc::AutoreleasePool pool;
    id filter = citest::filter("CIColorMatrix");

    Matrix& image(size_t width, const std::vector<RGBA>& pixels) {
        citest::set(filter, citest::ciImage(width, pixels), kCIInputImageKey);
        return *this;
    }
    Matrix& vector(const char* key, double x, double y, double z, double w) {
        citest::set(filter, citest::vector(x, y, z, w), objc::str(key));
        return *this;
    }
    std::vector<RGBA> output() { return citest::rendered(msg<id>(filter, sel<"outputImage">())); }
};

TEST(ColorMatrix, DefaultsLeaveEveryPixelAsItWas) {
    std::vector<RGBA> pixels{{200, 100, 50, 255}, {0, 0, 0, 0}, {60, 30, 0, 128}, {1, 2, 3, 4}};
    EXPECT_EQ(Matrix().image(2, pixels).output(), pixels);
}

TEST(ColorMatrix, BrightnessScalesColourAndKeepsAlphaAndExtent) {
    Matrix m;
    m.image(3, {{200, 100, 50, 255}, {255, 255, 255, 255}, {0, 0, 0, 0}, {10, 20, 30, 255}, {0, 0, 0, 255}, {2, 4, 6, 255}})
        .vector("inputRVector", 0.5, 0, 0, 0)
        .vector("inputGVector", 0, 0.5, 0, 0)
        .vector("inputBVector", 0, 0, 0.5, 0);
    EXPECT_TRUE(CGRectEqualToRect(msg<CGRect>(msg<id>(m.filter, sel<"outputImage">()), sel<"extent">()), CGRectMake(0, 0, 3, 2)));
    std::vector<RGBA> expected{{100, 50, 25, 255}, {128, 128, 128, 255}, {0, 0, 0, 0},
                               {5, 10, 15, 255},   {0, 0, 0, 255},       {1, 2, 3, 255}};
    EXPECT_EQ(m.output(), expected);
}

TEST(ColorMatrix, ResultsAreClampedNotWrapped) {
    Matrix m;
    m.image(2, {{200, 100, 50, 255}, {200, 100, 50, 255}})
        .vector("inputRVector", 2, 0, 0, 0)
        .vector("inputGVector", 0, -1, 0, 0)
        .vector("inputBiasVector", 0, 0, 0.9, 0);
    EXPECT_EQ(m.output(), (std::vector<RGBA>{{255, 0, 255, 255}, {255, 0, 255, 255}}));
}

TEST(ColorMatrix, WorksOnUnpremultipliedColour) {
    // A half-transparent pure red is stored as (128, 0, 0, 128). Adding 0.5 green to its
    // unpremultiplied colour gives (1, 0.5, 0) at alpha 0.5, stored as about (128, 64, 0, 128);
    // working on the stored values would give green 128 instead.
    Matrix m;
    m.image(1, {{128, 0, 0, 128}}).vector("inputBiasVector", 0, 0.5, 0, 0);
    std::vector<RGBA> out = m.output();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0][0], 128);
    EXPECT_NEAR(out[0][1], 64, 1);
    EXPECT_EQ(out[0][3], 128);
}

TEST(ColorMatrix, AlphaRowRemultipliesTheColour) {
    // Halving alpha keeps the unpremultiplied colour: opaque white becomes half-transparent white.
    Matrix m;
    m.image(1, {{255, 255, 255, 255}}).vector("inputAVector", 0, 0, 0, 0.5);
    EXPECT_EQ(m.output(), (std::vector<RGBA>{{128, 128, 128, 128}}));
}

TEST(ColorMatrix, NoOutputWithoutAnImageOrWithAMistypedVector) {
    objc::AutoreleasePool pool;
    id filter = citest::filter("CIColorMatrix");
    EXPECT_EQ(msg<id>(filter, sel<"outputImage">()), nil);
    citest::set(filter, citest::ciImage(1, {{1, 2, 3, 255}}), kCIInputImageKey);
    EXPECT_NE(msg<id>(filter, sel<"outputImage">()), nil);
    citest::set(filter, objc::str("not a vector"), NSSTR("inputRVector"));
    EXPECT_EQ(msg<id>(filter, sel<"outputImage">()), nil);
}

}  // namespace
