// Small pictures for the Core Image tests: CGImages from premultiplied RGBA pixels, and reading pixels back.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <CoreImage/CoreImage.h>
#include <Foundation/Foundation.h>

#include <array>
#include <vector>

namespace citest {

using RGBA = std::array<uint8_t, 4>;

// An owned CGImage of `width` pixels per row, rows listed from the top.
inline CGImageRef createImage(size_t width, const std::vector<RGBA>& pixels) {
    std::vector<uint8_t> bytes;
    for (const RGBA& p : pixels) bytes.insert(bytes.end(), p.begin(), p.end());
    CGDataProviderRef provider = CGDataProviderCreateWithCopyOfData(bytes.data(), bytes.size());
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGImageRef image = CGImageCreate(width, pixels.size() / width, 8, 32, width * 4, space,
                                     kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big, provider, nullptr, false,
                                     kCGRenderingIntentDefault);
    CGColorSpaceRelease(space);
    CGDataProviderRelease(provider);
    return image;
}

// An autoreleased CIImage of those pixels.
inline id ciImage(size_t width, const std::vector<RGBA>& pixels) {
    CGImageRef image = createImage(width, pixels);
    id result = msg<id>(CIImage::class_(), sel<"imageWithCGImage:">(), image);
    CGImageRelease(image);
    return result;
}

inline id vector(double x, double y, double z, double w) {
    return msg<id>(CIVector::class_(), sel<"vectorWithX:Y:Z:W:">(), x, y, z, w);
}

inline id filter(const char* name) { return msg<id>(CIFilter::class_(), sel<"filterWithName:">(), objc::str(name)); }

inline void set(id filter, id value, NSString* key) { msg<void>(filter, sel<"setValue:forKey:">(), value, key); }

// The CGImage's pixels as premultiplied RGBA bytes from the top row down, read through a bitmap context.
inline std::vector<uint8_t> pixelsOf(CGImageRef image) {
    size_t width = CGImageGetWidth(image), height = CGImageGetHeight(image);
    std::vector<uint8_t> bytes(width * height * 4);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(bytes.data(), width, height, 8, width * 4, space,
                                                 kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    CGContextSetBlendMode(context, kCGBlendModeCopy);
    CGContextDrawImage(context, CGRectMake(0, 0, double(width), double(height)), image);
    CGContextRelease(context);
    CGColorSpaceRelease(space);
    return bytes;
}

// The image rendered over its whole extent, as premultiplied RGBA bytes from the top row down.
inline std::vector<RGBA> rendered(id image) {
    id context = msg<id>(CIContext::class_(), sel<"contextWithOptions:">(), static_cast<id>(nil));
    CGRect extent = msg<CGRect>(image, sel<"extent">());
    CGImageRef cg = msg<CGImageRef>(context, sel<"createCGImage:fromRect:">(), image, extent);
    std::vector<uint8_t> bytes = pixelsOf(cg);
    CGImageRelease(cg);
    std::vector<RGBA> pixels(bytes.size() / 4);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = {bytes[4 * i], bytes[4 * i + 1], bytes[4 * i + 2], bytes[4 * i + 3]};
    return pixels;
}

}  // namespace citest
