// Bitmaps over test-owned memory for the Core Graphics tests, and images made from known pixels.
#pragma once

#include <CoreGraphics/CoreGraphics.h>

#include <array>
#include <cstring>
#include <vector>

namespace cgtest {

using Bytes4 = std::array<uint8_t, 4>;

// A bitmap context drawing into memory the test owns and reads.
struct Bitmap {
    size_t width, height, rowBytes;
    std::vector<uint8_t> memory;
    CGContextRef context = nullptr;

    Bitmap(size_t w, size_t h, CGBitmapInfo info, uint8_t initial = 0, CGColorSpaceRef space = nullptr)
        : width(w), height(h), rowBytes(4 * w), memory(rowBytes * h, initial) {
        CGColorSpaceRef rgb = space ? CGColorSpaceRetain(space) : CGColorSpaceCreateDeviceRGB();
        context = CGBitmapContextCreate(memory.data(), w, h, 8, rowBytes, rgb, info);
        CGColorSpaceRelease(rgb);
    }
    ~Bitmap() { CGContextRelease(context); }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // The four bytes of the pixel in memory row `row` (row 0 is the top of the picture).
    Bytes4 at(size_t x, size_t row) const {
        Bytes4 p;
        std::memcpy(p.data(), &memory[row * rowBytes + 4 * x], 4);
        return p;
    }
    // Turns user space into UIKit's: origin top-left, y down.
    void flip() {
        CGContextTranslateCTM(context, 0, double(height));
        CGContextScaleCTM(context, 1, -1);
    }
    void fill(CGRect rect, double r, double g, double b, double a) {
        CGContextSetRGBFillColor(context, r, g, b, a);
        CGContextFillRect(context, rect);
    }
};

constexpr CGBitmapInfo kRGBA = kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big;
constexpr CGBitmapInfo kARGB = kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Big;

// An owned image of `width` pixels per row from 4-byte pixels listed from the top row, in `info`'s layout.
inline CGImageRef createImage(size_t width, const std::vector<Bytes4>& pixels, CGBitmapInfo info = kRGBA) {
    std::vector<uint8_t> bytes;
    for (const Bytes4& p : pixels) bytes.insert(bytes.end(), p.begin(), p.end());
    CGDataProviderRef provider = CGDataProviderCreateWithCopyOfData(bytes.data(), bytes.size());
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGImageRef image = CGImageCreate(width, pixels.size() / width, 8, 32, width * 4, space, info, provider, nullptr, false,
                                     kCGRenderingIntentDefault);
    CGColorSpaceRelease(space);
    CGDataProviderRelease(provider);
    return image;
}

// The image's pixels as RGBA premultiplied bytes, top row first, written with the copy blend.
inline std::vector<Bytes4> pixelsOf(CGImageRef image) {
    Bitmap bitmap(CGImageGetWidth(image), CGImageGetHeight(image), kRGBA, 0xEE);
    CGContextSetBlendMode(bitmap.context, kCGBlendModeCopy);
    CGContextDrawImage(bitmap.context, CGRectMake(0, 0, double(bitmap.width), double(bitmap.height)), image);
    std::vector<Bytes4> pixels;
    for (size_t row = 0; row < bitmap.height; ++row)
        for (size_t x = 0; x < bitmap.width; ++x) pixels.push_back(bitmap.at(x, row));
    return pixels;
}

}  // namespace cgtest
