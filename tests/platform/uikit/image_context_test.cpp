// Image contexts: the per-thread stack, nesting, scale, top-left drawing, and images made from them.
#include "image_pixels.h"

#include <CoreGraphics/CoreGraphics.h>
#include <UIKit/UIKit.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

class ImageContextTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;

    static id color(double r, double g, double b) { return msg<id>(UIColor::class_(), sel<"colorWithRed:green:blue:alpha:">(), r, g, b, 1.0); }
    static void fill(id c, CGRect rect) {
        msg<void>(c, sel<"setFill">());
        UIRectFill(rect);
    }
    static CGSize sizeOf(id image) { return msg<CGSize>(image, sel<"size">()); }
    static double scaleOf(id image) { return msg<double>(image, sel<"scale">()); }
};

const Pixel kRed{255, 0, 0, 255};
const Pixel kBlue{0, 0, 255, 255};
const Pixel kClear{0, 0, 0, 0};

TEST_F(ImageContextTest, NestedContextsKeepTheirOwnPixelsAndRestoreTheOuterOne) {
    UIGraphicsBeginImageContextWithOptions({10, 10}, false, 1);
    CGContextRef outer = UIGraphicsGetCurrentContext();
    fill(color(1, 0, 0), {{0, 0}, {10, 10}});

    UIGraphicsBeginImageContextWithOptions({5, 5}, false, 2);
    CGContextRef inner = UIGraphicsGetCurrentContext();
    EXPECT_NE(inner, outer);
    fill(color(0, 0, 1), {{0, 0}, {5, 5}});
    id innerImage = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();

    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    id outerImage = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);

    EXPECT_EQ(sizeOf(innerImage), (CGSize{5, 5}));
    EXPECT_EQ(scaleOf(innerImage), 2);
    EXPECT_EQ(CGImageGetWidth(static_cast<UIImage*>(innerImage)->cgImage), 10u);
    EXPECT_EQ(pixelAt(innerImage, 9, 9), kBlue);
    EXPECT_EQ(pixelAt(outerImage, 9, 9), kRed);  // the inner drawing never reached the outer bitmap
}

TEST_F(ImageContextTest, ScaleZeroMeansTheMainScreens) {
    UIGraphicsBeginImageContextWithOptions({2, 3}, false, 0);
    id image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(scaleOf(image), UIScreen::mainScreenScale());
    EXPECT_EQ(CGImageGetHeight(static_cast<UIImage*>(image)->cgImage), static_cast<size_t>(3 * UIScreen::mainScreenScale()));
    EXPECT_EQ(sizeOf(image), (CGSize{2, 3}));
}

TEST_F(ImageContextTest, OriginIsTheTopLeftCornerInPoints) {
    UIGraphicsBeginImageContextWithOptions({4, 4}, false, 2);
    fill(color(1, 0, 0), {{0, 0}, {4, 1}});
    id image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(pixelAt(image, 0, 0), kRed);
    EXPECT_EQ(pixelAt(image, 7, 1), kRed);  // one point is two pixels
    EXPECT_EQ(pixelAt(image, 0, 2), kClear);
    EXPECT_EQ(pixelAt(image, 0, 7), kClear);
}

TEST_F(ImageContextTest, DrawnImagesStayUpright) {
    UIGraphicsBeginImageContextWithOptions({2, 2}, false, 1);
    fill(color(1, 0, 0), {{0, 0}, {2, 1}});
    fill(color(0, 0, 1), {{0, 1}, {2, 1}});
    id source = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();

    UIGraphicsBeginImageContextWithOptions({4, 4}, false, 1);
    msg<void>(source, sel<"drawInRect:">(), CGRect{{0, 0}, {4, 4}});
    id drawn = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(pixelAt(drawn, 1, 0), kRed);
    EXPECT_EQ(pixelAt(drawn, 1, 3), kBlue);
}

TEST_F(ImageContextTest, OpaqueContextsMakeImagesWithoutAlpha) {
    UIGraphicsBeginImageContextWithOptions({1, 1}, true, 1);
    id opaque = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    CGImageAlphaInfo info = CGImageGetAlphaInfo(static_cast<UIImage*>(opaque)->cgImage);
    EXPECT_TRUE(info == kCGImageAlphaNoneSkipFirst || info == kCGImageAlphaNoneSkipLast || info == kCGImageAlphaNone) << info;
}

TEST_F(ImageContextTest, EmptySizesOpenAnEntryWithoutAContext) {
    UIGraphicsBeginImageContextWithOptions({10, 10}, false, 1);
    CGContextRef outer = UIGraphicsGetCurrentContext();
    for (CGSize empty : {CGSize{0, 5}, CGSize{-3, 5}, CGSize{NAN, 1}}) {
        UIGraphicsBeginImageContextWithOptions(empty, false, 1);
        EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
        EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext(), nil);
        UIRectFill({{0, 0}, {1, 1}});  // harmless without a context
        UIGraphicsEndImageContext();
        EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    }
    UIGraphicsEndImageContext();
}

TEST_F(ImageContextTest, AStrayEndLeavesAPushedContextAlone) {
    UIGraphicsBeginImageContextWithOptions({1, 1}, false, 1);
    CGContextRef imageContext = UIGraphicsGetCurrentContext();
    UIGraphicsPushContext(imageContext);
    UIGraphicsEndImageContext();  // the top is a pushed context, not an image context
    EXPECT_EQ(UIGraphicsGetCurrentContext(), imageContext);
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext(), nil);
    UIGraphicsPopContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    UIGraphicsEndImageContext();  // and an End with nothing open does nothing
}

TEST_F(ImageContextTest, EachThreadHasItsOwnStack) {
    UIGraphicsBeginImageContext({1, 1});
    CGContextRef other = reinterpret_cast<CGContextRef>(1);
    std::thread([&] { other = UIGraphicsGetCurrentContext(); }).join();
    EXPECT_EQ(other, nullptr);
    EXPECT_NE(UIGraphicsGetCurrentContext(), nullptr);
    UIGraphicsEndImageContext();
}

TEST_F(ImageContextTest, PNGRepresentationIsDeterministic) {
    UIGraphicsBeginImageContextWithOptions({3, 3}, false, 1);
    fill(color(0, 1, 0), {{1, 1}, {1, 1}});
    id image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    id first = UIImagePNGRepresentation(image), second = UIImagePNGRepresentation(image);
    ASSERT_NE(first, nil);
    EXPECT_TRUE(msg<BOOL>(first, sel<"isEqual:">(), second));
    EXPECT_EQ(UIImagePNGRepresentation(nil), nil);
    EXPECT_EQ(UIImagePNGRepresentation(NSSTR("not an image")), nil);

    id decoded = msg<id>(UIImage::class_(), sel<"imageWithData:">(), first);
    EXPECT_EQ(pixelAt(decoded, 1, 1), (Pixel{0, 255, 0, 255}));
    EXPECT_EQ(pixelAt(decoded, 0, 0), kClear);
}

TEST_F(ImageContextTest, RenderingModesAndResizableImagesKeepThePicture) {
    UIGraphicsBeginImageContextWithOptions({17, 17}, false, 2);
    id image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();

    id templ = msg<id>(image, sel<"imageWithRenderingMode:">(), UIImageRenderingModeAlwaysTemplate);
    EXPECT_NE(templ, image);
    EXPECT_EQ(msg<long>(templ, sel<"renderingMode">()), 2);
    EXPECT_EQ(msg<long>(image, sel<"renderingMode">()), 0);
    EXPECT_EQ(msg<id>(templ, sel<"imageWithRenderingMode:">(), 2L), templ);

    id resizable = msg<id>(image, sel<"resizableImageWithCapInsets:">(), UIEdgeInsets{2, 3, 4, 5});
    EXPECT_STREQ(class_getName(object_getClass(resizable)), "_UIResizableImage");
    EXPECT_TRUE(object_isKindOfClass(resizable, UIImage::class_()));
    EXPECT_EQ(sizeOf(resizable), (CGSize{17, 17}));
    EXPECT_EQ((msg<UIEdgeInsets>(resizable, sel<"capInsets">())), (UIEdgeInsets{2, 3, 4, 5}));
    id resizableTemplate = msg<id>(resizable, sel<"imageWithRenderingMode:">(), 2L);
    EXPECT_STREQ(class_getName(object_getClass(resizableTemplate)), "_UIResizableImage");
}

}  // namespace
