// Filters by name, their key-value inputs and defaults, and CIVector's components.
#include "test_images.h"

#include <objc/NSException.h>

#include <gtest/gtest.h>

namespace {

bool sameVector(id vector, double x, double y, double z, double w) {
    return msg<BOOL>(vector, sel<"isEqual:">(), citest::vector(x, y, z, w));
}

TEST(FilterInputs, UnknownNamesGiveNoFilter) {
    objc::AutoreleasePool pool;
    EXPECT_EQ(citest::filter("CINoSuchFilter"), nil);
    EXPECT_EQ(msg<id>(CIFilter::class_(), sel<"filterWithName:">(), static_cast<NSString*>(nullptr)), nil);
}

TEST(FilterInputs, NewFiltersStartAtTheirDefaults) {
    objc::AutoreleasePool pool;
    id matrix = citest::filter("CIColorMatrix");
    EXPECT_TRUE(sameVector(msg<id>(matrix, sel<"valueForKey:">(), NSSTR("inputRVector")), 1, 0, 0, 0));
    EXPECT_TRUE(sameVector(msg<id>(matrix, sel<"valueForKey:">(), NSSTR("inputAVector")), 0, 0, 0, 1));
    EXPECT_TRUE(sameVector(msg<id>(matrix, sel<"valueForKey:">(), NSSTR("inputBiasVector")), 0, 0, 0, 0));
    EXPECT_EQ(msg<id>(matrix, sel<"valueForKey:">(), kCIInputImageKey), nil);
    id average = citest::filter("CIAreaAverage");
    EXPECT_TRUE(sameVector(msg<id>(average, sel<"valueForKey:">(), kCIInputExtentKey), 0, 0, 640, 80));
}

TEST(FilterInputs, SetDefaultsRestoresVectorsButKeepsTheImage) {
    objc::AutoreleasePool pool;
    id matrix = citest::filter("CIColorMatrix");
    id image = citest::ciImage(1, {{1, 2, 3, 255}});
    citest::set(matrix, image, kCIInputImageKey);
    citest::set(matrix, citest::vector(0.5, 0, 0, 0), NSSTR("inputRVector"));
    EXPECT_TRUE(sameVector(msg<id>(matrix, sel<"valueForKey:">(), NSSTR("inputRVector")), 0.5, 0, 0, 0));
    msg<void>(matrix, sel<"setDefaults">());
    EXPECT_TRUE(sameVector(msg<id>(matrix, sel<"valueForKey:">(), NSSTR("inputRVector")), 1, 0, 0, 0));
    EXPECT_EQ(msg<id>(matrix, sel<"valueForKey:">(), kCIInputImageKey), image);
    citest::set(matrix, nil, kCIInputImageKey);
    EXPECT_EQ(msg<id>(matrix, sel<"valueForKey:">(), kCIInputImageKey), nil);
}

TEST(FilterInputs, KeysTheFilterLacksRaise) {
    objc::AutoreleasePool pool;
    id matrix = citest::filter("CIColorMatrix");
    try {
        citest::set(matrix, citest::vector(0, 0, 1, 1), kCIInputExtentKey);
        FAIL() << "setting an unknown key should raise";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), "NSUnknownKeyException");
    }
    EXPECT_THROW(msg<id>(matrix, sel<"valueForKey:">(), NSSTR("inputColor")), NSException);
    EXPECT_THROW(citest::set(matrix, nil, kCIOutputImageKey), NSException);
}

TEST(FilterInputs, OutputImageIsAlsoAKey) {
    objc::AutoreleasePool pool;
    id matrix = citest::filter("CIColorMatrix");
    citest::set(matrix, citest::ciImage(2, {{1, 2, 3, 255}, {4, 5, 6, 255}}), kCIInputImageKey);
    id output = msg<id>(matrix, sel<"valueForKey:">(), kCIOutputImageKey);
    ASSERT_TRUE(object_isKindOfClass(output, CIImage::class_()));
    EXPECT_TRUE(CGRectEqualToRect(msg<CGRect>(output, sel<"extent">()), CGRectMake(0, 0, 2, 1)));
}

TEST(CIVectorComponents, RectanglesAndMissingComponents) {
    objc::AutoreleasePool pool;
    id rect = msg<id>(CIVector::class_(), sel<"vectorWithCGRect:">(), CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(msg<unsigned long>(rect, sel<"count">()), 4u);
    EXPECT_EQ(msg<double>(rect, sel<"Z">()), 3);
    EXPECT_TRUE(CGRectEqualToRect(msg<CGRect>(rect, sel<"CGRectValue">()), CGRectMake(1, 2, 3, 4)));
    id pair = msg<id>(CIVector::class_(), sel<"vectorWithX:Y:">(), 5.0, 6.0);
    EXPECT_EQ(msg<double>(pair, sel<"W">()), 0);
    EXPECT_EQ(msg<double>(pair, sel<"valueAtIndex:">(), 9ul), 0);
    EXPECT_FALSE(msg<BOOL>(pair, sel<"isEqual:">(), citest::vector(5, 6, 0, 0)));
    EXPECT_EQ(objc::utf8(msg<id>(rect, sel<"description">())), "[1 2 3 4]");
}

}  // namespace
