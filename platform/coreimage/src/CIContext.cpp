// CIContext: rendering an image's pixels over a rectangle into a new CGImage or into caller memory.
#include "Bitmap.h"
#include "Registration.h"

#include <CoreGraphics/CGBitmapContext.h>
#include <CoreGraphics/CGDataProvider.h>
#include <CoreImage/CIContext.h>
#include <Foundation/Foundation.h>

#include <array>
#include <cstring>

namespace {

Class gCIContext = nullptr;

// Byte positions of red, green, blue and alpha within a pixel of an 8-bit format; nullopt for others.
std::optional<std::array<int, 4>> channelOrder(CIFormat format) {
    switch (format) {
        case kCIFormatRGBA8: return std::array{0, 1, 2, 3};
        case kCIFormatARGB8: return std::array{1, 2, 3, 0};
        case kCIFormatBGRA8: return std::array{2, 1, 0, 3};
        default: return std::nullopt;
    }
}

// Writes the pixels of `area` into rows of `rowBytes`, the top row first.
void writePixels(const coreimage::Bitmap& bitmap, const coreimage::PixelRect& area, uint8_t* out, size_t rowBytes,
                 const std::array<int, 4>& order) {
    for (long row = 0; row < area.height; ++row) {
        long y = area.y + area.height - 1 - row;
        uint8_t* pixel = out + size_t(row) * rowBytes;
        for (long x = area.x; x < area.x + area.width; ++x, pixel += 4) {
            coreimage::Pixel p = bitmap.at(x, y);
            for (int c = 0; c < 4; ++c) pixel[order[size_t(c)]] = coreimage::toByte(p[size_t(c)]);
        }
    }
}

const coreimage::Bitmap* bitmapOf(CIImage* image) { return image && image->bitmap ? image->bitmap.get() : nullptr; }

CGImageRef createCGImage(CIImage* image, CGRect rect) {
    const coreimage::Bitmap* bitmap = bitmapOf(image);
    auto area = coreimage::PixelRect::around(rect);
    if (!bitmap || !area) return nullptr;
    size_t rowBytes = size_t(area->width) * 4;
    std::vector<uint8_t> bytes(rowBytes * size_t(area->height));
    writePixels(*bitmap, *area, bytes.data(), rowBytes, *channelOrder(kCIFormatRGBA8));
    CGDataProviderRef provider = CGDataProviderCreateWithCopyOfData(bytes.data(), bytes.size());
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGImageRef result = CGImageCreate(size_t(area->width), size_t(area->height), 8, 32, rowBytes, space,
                                      kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big, provider, nullptr, false,
                                      kCGRenderingIntentDefault);
    CGColorSpaceRelease(space);
    CGDataProviderRelease(provider);
    return result;
}

void render(CIImage* image, void* data, long rowBytes, CGRect bounds, CIFormat format) {
    const coreimage::Bitmap* bitmap = bitmapOf(image);
    auto area = coreimage::PixelRect::around(bounds);
    auto order = channelOrder(format);
    if (!bitmap || !data || !area || !order || rowBytes < area->width * 4) return;
    writePixels(*bitmap, *area, static_cast<uint8_t*>(data), size_t(rowBytes), *order);
}

id newContext() { return objc::autorelease(objc::createInstance<CIContext>(gCIContext)); }

}  // namespace

Class CIContext::class_() { return gCIContext; }

namespace platform::coreimage {

void registerCIContext() {
    gCIContext = objc::ClassBuilder<CIContext>("CIContext", NSObject::class_())
                     .classMethod(sel<"contextWithOptions:">(), [](Class, SEL, id) { return newContext(); })
                     .classMethod(sel<"context">(), [](Class, SEL) { return newContext(); })
                     .method(sel<"createCGImage:fromRect:">(),
                             [](CIContext*, SEL, CIImage* image, CGRect rect) { return createCGImage(image, rect); })
                     .method(sel<"render:toBitmap:rowBytes:bounds:format:colorSpace:">(),
                             [](CIContext*, SEL, CIImage* image, void* data, long rowBytes, CGRect bounds, int format,
                                CGColorSpaceRef) { render(image, data, rowBytes, bounds, format); })
                     .registerClass();
}

}  // namespace platform::coreimage
