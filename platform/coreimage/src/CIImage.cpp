// CIImage: images over bitmaps, made from CGImages or by filters, and the integral rectangles they are read in.
#include "Bitmap.h"
#include "Registration.h"

#include <CoreGraphics/CGCairo.h>
#include <CoreImage/CIImage.h>
#include <Foundation/Foundation.h>

#include <cmath>

namespace coreimage {

PixelRect PixelRect::intersect(const PixelRect& other) const {
    long x0 = std::max(x, other.x), y0 = std::max(y, other.y);
    long x1 = std::min(x + width, other.x + other.width), y1 = std::min(y + height, other.y + other.height);
    if (x1 <= x0 || y1 <= y0) return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

std::optional<PixelRect> PixelRect::around(CGRect rect) {
    if (CGRectIsNull(rect)) return std::nullopt;
    rect = CGRectStandardize(rect);
    // Bounded well inside long, so the integral edges below cannot overflow.
    constexpr double kFar = 1e9;
    if (!std::isfinite(rect.origin.x) || !std::isfinite(rect.origin.y) || !std::isfinite(rect.size.width) ||
        !std::isfinite(rect.size.height) || std::fabs(rect.origin.x) > kFar || std::fabs(rect.origin.y) > kFar)
        return std::nullopt;
    CGRect integral = CGRectIntegral(rect);
    if (integral.size.width <= 0 || integral.size.height <= 0 || integral.size.width > kMaxDimension ||
        integral.size.height > kMaxDimension)
        return std::nullopt;
    return PixelRect{long(integral.origin.x), long(integral.origin.y), long(integral.size.width), long(integral.size.height)};
}

Pixel Bitmap::at(long x, long y) const {
    if (x < extent.x || y < extent.y || x >= extent.x + extent.width || y >= extent.y + extent.height) return {};
    return pixels[size_t(extent.y + extent.height - 1 - y) * size_t(extent.width) + size_t(x - extent.x)];
}

}  // namespace coreimage

namespace {

Class gCIImage = nullptr;

// The CGImage's pixels, whatever its layout, as premultiplied floats with the first row on top.
coreimage::SharedBitmap bitmapOf(CGImageRef image) {
    size_t width = CGImageGetWidth(image), height = CGImageGetHeight(image);
    std::vector<uint8_t> bytes = CGImageCopyRGBA8Pixels(image);
    auto bitmap = std::make_shared<coreimage::Bitmap>(coreimage::PixelRect{0, 0, long(width), long(height)});
    for (size_t i = 0; i < bitmap->pixels.size() && 4 * i + 3 < bytes.size(); ++i)
        for (int c = 0; c < 4; ++c) bitmap->pixels[i][c] = float(bytes[4 * i + c]) / 255.0f;
    return bitmap;
}

id initWithCGImage(CIImage* self, CGImageRef image) {
    if (!image) {
        objc_release(self);
        return nil;
    }
    self->bitmap = bitmapOf(image);
    self->cgImage = CGImageRetain(image);
    return self;
}

}  // namespace

Class CIImage::class_() { return gCIImage; }

CIImage::~CIImage() { CGImageRelease(cgImage); }

CIImage* CIImage::imageWithBitmap(std::shared_ptr<const coreimage::Bitmap> bitmap) {
    auto* image = objc::createInstance<CIImage>(gCIImage);
    image->bitmap = std::move(bitmap);
    return objc::autorelease(image);
}

CGRect CIImage::extent() const { return bitmap ? bitmap->extent.cgRect() : CGRectNull; }

namespace platform::coreimage {

void registerCIImage() {
    gCIImage = objc::ClassBuilder<CIImage>("CIImage", NSObject::class_())
                   .classMethod(sel<"imageWithCGImage:">(),
                                [](Class, SEL, CGImageRef image) {
                                    return objc::autorelease(initWithCGImage(objc::createInstance<CIImage>(gCIImage), image));
                                })
                   .method(sel<"initWithCGImage:">(), [](CIImage* self, SEL, CGImageRef image) { return initWithCGImage(self, image); })
                   .method(sel<"extent">(), [](CIImage* self, SEL) { return self->extent(); })
                   .method(sel<"CGImage">(), [](CIImage* self, SEL) { return self->cgImage; })
                   .method(sel<"description">(),
                           [](CIImage* self, SEL) {
                               CGRect e = self->extent();
                               return objc::format("<CIImage: %p extent [%g %g %g %g]>", static_cast<void*>(self),
                                                   e.origin.x, e.origin.y, e.size.width, e.size.height);
                           })
                   .registerClass();
}

}  // namespace platform::coreimage
