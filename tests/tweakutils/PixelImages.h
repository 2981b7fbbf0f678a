// Small images made from pixel values, and the pixels of images read back, for the image toolkit's tests.
#pragma once

#include <CoreGraphics/CGBitmapContext.h>
#include <CoreGraphics/CGDataProvider.h>
#include <CoreGraphics/CGImage.h>
#include <UIKit/UIImage.h>
#include <objc/Strong.h>
#include <objc/message.h>

#include <array>
#include <cstdint>
#include <vector>

namespace pixels {

using Pixel = std::array<std::uint8_t, 4>;  // R, G, B, A; premultiplied where there is alpha

// An autoreleased image over rows of pixels (top row first). With alpha the values are taken as
// premultiplied; without, the image has no alpha channel (kCGImageAlphaNoneSkipLast).
inline id imageOf(const std::vector<std::vector<Pixel>>& rows, double scale = 1.0, bool alpha = true,
                  long orientation = UIImageOrientationUp) {
    std::size_t height = rows.size(), width = rows.empty() ? 0 : rows[0].size();
    std::vector<std::uint8_t> bytes;
    for (const auto& row : rows)
        for (const Pixel& p : row) bytes.insert(bytes.end(), p.begin(), p.end());
    CGDataProviderRef provider = CGDataProviderCreateWithCopyOfData(bytes.data(), bytes.size());
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    CGBitmapInfo info = (alpha ? kCGImageAlphaPremultipliedLast : kCGImageAlphaNoneSkipLast) | kCGBitmapByteOrder32Big;
    CGImageRef bitmap = CGImageCreate(width, height, 8, 32, width * 4, rgb, info, provider, nullptr, true,
                                      kCGRenderingIntentDefault);
    id image = UIImage::imageWithCGImage(bitmap, scale, orientation);
    CGImageRelease(bitmap);
    CGColorSpaceRelease(rgb);
    CGDataProviderRelease(provider);
    return image;
}

// A width × height image of one pixel value.
inline id uniformImage(std::size_t width, std::size_t height, Pixel pixel, double scale = 1.0, bool alpha = true) {
    return imageOf(std::vector<std::vector<Pixel>>(height, std::vector<Pixel>(width, pixel)), scale, alpha);
}

// An image with no pixels at all, of size 0 × 0.
inline id emptyImage() {
    return objc::autorelease(msg<id>(msg<id>(objc_getClass("UIImage"), sel<"alloc">()), sel<"init">()));
}

// A picture's pixels as premultiplied R, G, B, A, rows from the top.
struct Picture {
    std::size_t width = 0, height = 0;
    std::vector<std::uint8_t> bytes;

    Pixel at(std::size_t x, std::size_t y) const {
        const std::uint8_t* p = &bytes.at((y * width + x) * 4);
        return {p[0], p[1], p[2], p[3]};
    }
};

// Read by copying the bitmap into premultiplied R,G,B,A memory of its own size.
inline Picture pictureOf(CGImageRef bitmap) {
    Picture picture{CGImageGetWidth(bitmap), CGImageGetHeight(bitmap), {}};
    picture.bytes.resize(picture.width * picture.height * 4);
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(picture.bytes.data(), picture.width, picture.height, 8, picture.width * 4, rgb,
                                                 kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    CGContextSetBlendMode(context, kCGBlendModeCopy);
    CGContextDrawImage(context, CGRectMake(0, 0, double(picture.width), double(picture.height)), bitmap);
    CGContextRelease(context);
    CGColorSpaceRelease(rgb);
    return picture;
}

inline Picture pictureOf(id image) { return pictureOf(msg<CGImageRef>(image, sel<"CGImage">())); }

constexpr Pixel kClear{0, 0, 0, 0};
constexpr Pixel kBlack{0, 0, 0, 255};
constexpr Pixel kWhite{255, 255, 255, 255};

}  // namespace pixels
