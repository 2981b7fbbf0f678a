// UIImage(Color): tinting, rounding, scaling, brightness, pixel reading and comparison of images, over nullable images.
#include "UIImage+Color.h"

#include <Accelerate/Accelerate.h>
#include <CoreGraphics/CGBitmapContext.h>
#include <CoreImage/CoreImage.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIGraphics.h>
#include <objc/NSException.h>
#include <objc/message.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

using ContextRef = std::unique_ptr<CGContext, decltype([](CGContextRef c) { CGContextRelease(c); })>;
using ColorSpaceRef = std::unique_ptr<CGColorSpace, decltype([](CGColorSpaceRef s) { CGColorSpaceRelease(s); })>;
using ImageRef = std::unique_ptr<CGImage, decltype([](CGImageRef i) { CGImageRelease(i); })>;

CGSize sizeOf(id image) { return msg<CGSize>(image, sel<"size">()); }

CGImageRef cgImageOf(id image) { return msg<CGImageRef>(image, sel<"CGImage">()); }

void drawInRect(id image, CGRect rect) { msg<void>(image, sel<"drawInRect:">(), rect); }

double mainScreenScale() { return msg<double>(msg<id>(objc_getClass("UIScreen"), sel<"mainScreen">()), sel<"scale">()); }

// A size truncated toward zero to an unsigned count, as the phone's conversion does: NaN and
// negative values give 0, values beyond the type's range its largest value.
std::size_t truncatedCount(double value) {
    if (!(value > 0)) return 0;
    if (value >= 18446744073709551615.0) return std::numeric_limits<std::size_t>::max();
    return static_cast<std::size_t>(value);
}

// width × 4 × height bytes, zero-filled; null when the size overflows or memory is short.
RGBAPixels zeroedPixels(std::size_t width, std::size_t height) {
    if (width != 0 && height > std::numeric_limits<std::size_t>::max() / 4 / width)
        return RGBAPixels(nullptr, &std::free);
    return RGBAPixels(static_cast<std::uint8_t*>(std::calloc(width * 4 * height, 1)), &std::free);
}

// The image's own Core Image image, or one made from its bitmap; nil when it has neither.
id coreImageOf(id image) {
    if (id ciImage = msg<id>(image, sel<"CIImage">())) return ciImage;
    return msg<id>(objc_getClass("CIImage"), sel<"imageWithCGImage:">(), cgImageOf(image));
}

id vector(double x, double y, double z, double w) {
    return msg<id>(objc_getClass("CIVector"), sel<"vectorWithX:Y:Z:W:">(), x, y, z, w);
}

}  // namespace

id roundedImageWithRadius(id image, double radius) {
    if (!image) return nil;
    if (radius == 0.0 || !std::isfinite(radius)) return image;
    CGSize size = sizeOf(image);
    // Before the application has a window (at load) the chain answers 0, the main screen's scale.
    id firstWindow = msg<id>(msg<id>(msg<id>(objc_getClass("UIApplication"), sel<"sharedApplication">()), sel<"windows">()),
                             sel<"firstObject">());
    double scale = msg<double>(msg<id>(firstWindow, sel<"screen">()), sel<"scale">());

    UIGraphicsBeginImageContextWithOptions(size, false, scale);
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGRect bounds = CGRectMake(0, 0, size.width, size.height);
    CGContextBeginPath(context);
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, CGRectGetMinX(bounds), CGRectGetMinY(bounds));
    // The arcs below keep the radius `radius` inside a system already scaled by it, which is
    // what makes the corners radius × radius points round; callers size their radius for that.
    CGContextScaleCTM(context, radius, radius);
    double fw = size.width / radius, fh = size.height / radius;
    CGContextMoveToPoint(context, fw, fh / 2);
    CGContextAddArcToPoint(context, fw, fh, fw / 2, fh, radius);
    CGContextAddArcToPoint(context, 0, fh, 0, fh / 2, radius);
    CGContextAddArcToPoint(context, 0, 0, fw / 2, 0, radius);
    CGContextAddArcToPoint(context, fw, 0, fw, fh / 2, radius);
    CGContextRestoreGState(context);
    CGContextClosePath(context);
    CGContextClip(context);
    drawInRect(image, bounds);
    id rounded = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return rounded;
}

id imageWithTint(id image, id tint) {
    if (!image) return nil;
    CGSize size = sizeOf(image);
    CGRect bounds = CGRectMake(0, 0, size.width, size.height);
    double scale = mainScreenScale();

    // The mask is drawn upside down: clipping places it the way an image is placed, which in
    // UIKit's flipped context turns it upright again over the drawing below.
    UIGraphicsBeginImageContextWithOptions(size, false, scale);
    CGContextRef maskContext = UIGraphicsGetCurrentContext();
    CGContextTranslateCTM(maskContext, 0, size.height);
    CGContextScaleCTM(maskContext, 1, -1);
    drawInRect(image, bounds);
    ImageRef mask(CGBitmapContextCreateImage(maskContext));
    UIGraphicsEndImageContext();

    UIGraphicsBeginImageContextWithOptions(size, false, scale);
    CGContextRef context = UIGraphicsGetCurrentContext();
    drawInRect(image, bounds);
    CGContextClipToMask(context, bounds, mask.get());
    ColorSpaceRef rgb(CGColorSpaceCreateDeviceRGB());
    CGContextSetFillColorSpace(context, rgb.get());
    CGContextSetFillColorWithColor(context, msg<CGColorRef>(tint, sel<"CGColor">()));
    UIRectFillUsingBlendMode(bounds, kCGBlendModeNormal);
    id tinted = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return tinted;
}

id scaledToSize(id image, CGSize size) {
    if (!image) return nil;
    UIGraphicsBeginImageContextWithOptions(size, false, 0.0);
    drawInRect(image, CGRectMake(0, 0, size.width, size.height));
    id scaled = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return scaled;
}

id vImageScaledImageWithSize(id image, CGSize size) {
    if (!image) return nil;
    CGImageRef source = cgImageOf(image);
    std::size_t sw = CGImageGetWidth(source), sh = CGImageGetHeight(source);
    ColorSpaceRef rgb(CGColorSpaceCreateDeviceRGB());
    const CGBitmapInfo argb = kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Big;

    RGBAPixels sourcePixels = zeroedPixels(sw, sh);
    if (sourcePixels) {
        ContextRef context(CGBitmapContextCreate(sourcePixels.get(), sw, sh, 8, sw * 4, rgb.get(), argb));
        CGContextDrawImage(context.get(), CGRectMake(0, 0, double(sw), double(sh)), source);
    }

    std::size_t dw = truncatedCount(size.width), dh = truncatedCount(size.height);
    // A size whose buffer cannot be had leaves the destination without memory, which the
    // scaler reports like any other refusal.
    RGBAPixels destinationPixels = zeroedPixels(dw, dh);
    vImage_Buffer from{sourcePixels.get(), sh, sw, sw * 4};
    vImage_Buffer to{destinationPixels.get(), dh, dw, dw * 4};
    vImage_Error error = vImageScale_ARGB8888(&from, &to, nullptr, kvImageHighQualityResampling);
    sourcePixels.reset();

    id scaled = nil;
    if (destinationPixels) {
        ContextRef context(CGBitmapContextCreate(destinationPixels.get(), dw, dh, 8, dw * 4, rgb.get(), argb));
        ImageRef bitmap(CGBitmapContextCreateImage(context.get()));
        scaled = msg<id>(objc_getClass("UIImage"), sel<"imageWithCGImage:">(), bitmap.get());
    }
    if (error != kvImageNoError) {
        id destSize = msg<id>(objc_getClass("NSValue"), sel<"valueWithCGSize:">(), size);
        id userInfo = objc::dict({{NSSTR("sourceImage"), image}, {NSSTR("destSize"), destSize}});
        NSException::raise("HighQualityImageScalingFailureException",
                           "vImageScale returned error code " + std::to_string(error), userInfo);
    }
    return scaled;
}

id imageWithBrightness(id image, double factor) {
    if (!image) return nil;
    id input = coreImageOf(image);
    if (!input) return image;
    id context = msg<id>(objc_getClass("CIContext"), sel<"contextWithOptions:">(), static_cast<id>(nil));
    id filter = msg<id>(objc_getClass("CIFilter"), sel<"filterWithName:">(), static_cast<id>(NSSTR("CIColorMatrix")));
    msg<void>(filter, sel<"setDefaults">());
    msg<void>(filter, sel<"setValue:forKey:">(), input, static_cast<id>(NSSTR("inputImage")));
    msg<void>(filter, sel<"setValue:forKey:">(), vector(factor, 0, 0, 0), static_cast<id>(NSSTR("inputRVector")));
    msg<void>(filter, sel<"setValue:forKey:">(), vector(0, factor, 0, 0), static_cast<id>(NSSTR("inputGVector")));
    msg<void>(filter, sel<"setValue:forKey:">(), vector(0, 0, factor, 0), static_cast<id>(NSSTR("inputBVector")));
    id output = msg<id>(filter, sel<"outputImage">());
    CGRect extent = msg<CGRect>(output, sel<"extent">());
    ImageRef rendered(msg<CGImageRef>(context, sel<"createCGImage:fromRect:">(), output, extent));
    return msg<id>(objc_getClass("UIImage"), sel<"imageWithCGImage:scale:orientation:">(), rendered.get(),
                   msg<double>(image, sel<"scale">()), msg<long>(image, sel<"imageOrientation">()));
}

id averageColor(id image) {
    if (!image) return nil;
    id input = coreImageOf(image);
    if (!input) return nil;
    CGRect extent = msg<CGRect>(input, sel<"extent">());
    id filter = msg<id>(objc_getClass("CIFilter"), sel<"filterWithName:">(), static_cast<id>(NSSTR("CIAreaAverage")));
    msg<void>(filter, sel<"setValue:forKey:">(), input, static_cast<id>(kCIInputImageKey));
    msg<void>(filter, sel<"setValue:forKey:">(),
              vector(extent.origin.x, extent.origin.y, extent.size.width, extent.size.height),
              static_cast<id>(kCIInputExtentKey));
    id context = msg<id>(objc_getClass("CIContext"), sel<"contextWithOptions:">(), static_cast<id>(nil));
    // Cleared first, so that a render that writes nothing reads as clear black.
    std::uint8_t pixel[4] = {0, 0, 0, 0};
    msg<void>(context, sel<"render:toBitmap:rowBytes:bounds:format:colorSpace:">(), msg<id>(filter, sel<"outputImage">()),
              static_cast<void*>(pixel), 4L, CGRectMake(0, 0, 1, 1), kCIFormatRGBA8, static_cast<CGColorSpaceRef>(nullptr));
    auto component = [&](int i) { return double(float(pixel[i] / 255.0)); };
    return msg<id>(objc_getClass("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), component(0), component(1),
                   component(2), component(3));
}

double luminosity(id image) {
    if (!image) return 0;
    RGBAPixels pixels = rgbaPixels(image);
    CGSize size = sizeOf(image);
    // Only the whole pixels that rgbaPixels drew are read; the divisor keeps the exact area.
    std::size_t bytesPerRow = truncatedCount(4 * size.width);
    std::size_t width = truncatedCount(size.width), height = truncatedCount(size.height);
    double sum = 0;
    if (size.width * size.height * 4 > 0 && pixels) {
        for (std::size_t y = 0; y < height; ++y) {
            const std::uint8_t* pixel = pixels.get() + y * bytesPerRow;
            for (std::size_t x = 0; x < width; ++x, pixel += 4)
                sum += 0.299 * pixel[0] + 0.587 * pixel[1] + 0.114 * pixel[2];
        }
    }
    return sum / (size.width * size.height) / 255.0;
}

RGBAPixels rgbaPixels(id image) {
    if (!image) return RGBAPixels(nullptr, &std::free);
    CGSize size = sizeOf(image);
    std::size_t bytesPerRow = truncatedCount(4 * size.width);
    std::size_t height = truncatedCount(size.height);
    if (bytesPerRow != 0 && height > std::numeric_limits<std::size_t>::max() / bytesPerRow)
        return RGBAPixels(nullptr, &std::free);
    RGBAPixels pixels(static_cast<std::uint8_t*>(std::calloc(height * bytesPerRow, 1)), &std::free);
    if (!pixels) return pixels;
    ColorSpaceRef rgb(CGColorSpaceCreateDeviceRGB());
    ContextRef context(CGBitmapContextCreate(pixels.get(), truncatedCount(size.width), height, 8, bytesPerRow, rgb.get(),
                                             kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big));
    CGContextDrawImage(context.get(), CGRectMake(0, 0, size.width, size.height), cgImageOf(image));
    return pixels;
}

id removeWhiteColor(id image) {
    if (!image) return nil;
    CGSize size = sizeOf(image);
    UIGraphicsBeginImageContextWithOptions(size, false, 0.0);
    CGContextRef context = UIGraphicsGetCurrentContext();
    const CGFloat nearWhite[6] = {222, 255, 222, 255, 222, 255};
    // Refused (NULL) for images with an alpha channel: nothing is drawn and the result is clear.
    ImageRef masked(CGImageCreateWithMaskingColors(cgImageOf(image), nearWhite));
    CGContextTranslateCTM(context, 0, size.height);
    CGContextScaleCTM(context, 1, -1);
    CGContextDrawImage(context, CGRectMake(0, 0, size.width, size.height), masked.get());
    id cleared = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return cleared;
}

BOOL isSameImage(id image, id other) {
    if (!image || !other) return NO;
    id data = UIImagePNGRepresentation(image);
    id otherData = UIImagePNGRepresentation(other);
    if (!data || !otherData) return NO;
    return msg<BOOL>(data, sel<"isEqualToData:">(), otherData);
}

BOOL hasAlpha(id image) {
    switch (CGImageGetAlphaInfo(cgImageOf(image))) {
    case kCGImageAlphaPremultipliedLast:
    case kCGImageAlphaPremultipliedFirst:
    case kCGImageAlphaLast:
    case kCGImageAlphaFirst:
        return YES;
    default:
        return NO;
    }
}
