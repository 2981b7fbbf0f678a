// Images: creation from bytes, copies, crops, masks, colour masking and the pixel access other frameworks use.
#include "CGObjects.h"

#include <CoreGraphics/CGCairo.h>

#include <cmath>
#include <cstring>

namespace {

constexpr size_t kMaxDimension = 32767;  // the largest surface Cairo draws

size_t bitsPerPixelOf(cairo_format_t format, CGColorSpaceRef space) {
    if (format == CAIRO_FORMAT_A8) return 8;
    return CGColorSpaceGetModel(space) == kCGColorSpaceModelMonochrome ? 8 : 32;
}

cairo_surface_t* copySurface(cairo_surface_t* source, int x, int y, int width, int height) {
    cairo_surface_flush(source);
    cairo_format_t format = cairo_image_surface_get_format(source);
    cairo_surface_t* copy = cairo_image_surface_create(format, width, height);
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(copy);
        return nullptr;
    }
    int bytesPerPixel = format == CAIRO_FORMAT_A8 ? 1 : 4;
    const uint8_t* in = cairo_image_surface_get_data(source);
    int inStride = cairo_image_surface_get_stride(source);
    uint8_t* out = cairo_image_surface_get_data(copy);
    int outStride = cairo_image_surface_get_stride(copy);
    for (int row = 0; row < height; ++row)
        std::memcpy(out + size_t(row) * outStride, in + size_t(row + y) * inStride + size_t(x) * bytesPerPixel,
                    size_t(width) * bytesPerPixel);
    cairo_surface_mark_dirty(copy);
    return copy;
}

bool hasAlphaChannel(CGImageRef image) {
    switch (CGImageGetAlphaInfo(image)) {
        case kCGImageAlphaNone:
        case kCGImageAlphaNoneSkipLast:
        case kCGImageAlphaNoneSkipFirst: return false;
        default: return true;
    }
}

}  // namespace

CGImage::~CGImage() {
    if (surface) cairo_surface_destroy(surface);
}

namespace cg {

Ref<CGImage> makeImage(cairo_surface_t* surface, const ImageDescription& description) {
    auto image = Ref<CGImage>::adopt(new CGImage);
    static_cast<ImageDescription&>(*image) = description;
    image->surface = surface;
    return image;
}

cairo_surface_t* maskCoverage(CGImage* mask) {
    cairo_surface_t* source = mask->surface;
    cairo_format_t format = cairo_image_surface_get_format(source);
    if (format == CAIRO_FORMAT_A8) return cairo_surface_reference(source);
    int width = int(mask->width), height = int(mask->height);
    cairo_surface_t* coverage = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_surface_flush(source);
    const uint8_t* in = cairo_image_surface_get_data(source);
    int inStride = cairo_image_surface_get_stride(source);
    uint8_t* out = cairo_image_surface_get_data(coverage);
    int outStride = cairo_image_surface_get_stride(coverage);
    for (int row = 0; row < height; ++row) {
        const auto* pixels = reinterpret_cast<const uint32_t*>(in + size_t(row) * inStride);
        uint8_t* line = out + size_t(row) * outStride;
        for (int i = 0; i < width; ++i) {
            uint32_t v = pixels[i];
            line[i] = format == CAIRO_FORMAT_ARGB32 ? uint8_t(v >> 24) : grayFromRgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        }
    }
    cairo_surface_mark_dirty(coverage);
    return coverage;
}

}  // namespace cg

CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel, size_t bytesPerRow,
                         CGColorSpaceRef space, CGBitmapInfo bitmapInfo, CGDataProviderRef provider, const CGFloat*,
                         bool shouldInterpolate, CGColorRenderingIntent) {
    if (!provider || !provider->data || width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension)
        return nullptr;
    auto layout = cg::PixelLayout::forImage(bitsPerComponent, bitsPerPixel, CGColorSpaceGetModel(space), bitmapInfo);
    if (!layout) return nullptr;
    if (!space && layout->kind != cg::PixelLayout::Kind::Alpha8) return nullptr;
    size_t rowLength = width * bitsPerPixel / 8;
    if (bytesPerRow < rowLength || provider->size < (height - 1) * bytesPerRow + rowLength) return nullptr;

    cairo_surface_t* surface = cairo_image_surface_create(layout->cairoFormat(), int(width), int(height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cg::importPixels(*layout, static_cast<const uint8_t*>(provider->data), bytesPerRow,
                     cairo_image_surface_get_data(surface), size_t(cairo_image_surface_get_stride(surface)), 0, 0,
                     int(width), int(height));
    cairo_surface_mark_dirty(surface);
    cg::ImageDescription description;
    description.width = width, description.height = height;
    description.bitsPerComponent = bitsPerComponent, description.bitsPerPixel = bitsPerPixel;
    description.bytesPerRow = bytesPerRow, description.bitmapInfo = bitmapInfo;
    description.space = cg::Ref<CGColorSpace>::share(space);
    description.shouldInterpolate = shouldInterpolate;
    return cg::makeImage(surface, description).leak();
}

CGImageRef CGImageMaskCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel, size_t bytesPerRow,
                             CGDataProviderRef provider, const CGFloat*, bool shouldInterpolate) {
    if (!provider || !provider->data || bitsPerComponent != 8 || bitsPerPixel != 8 || width == 0 || height == 0 ||
        width > kMaxDimension || height > kMaxDimension || bytesPerRow < width ||
        provider->size < (height - 1) * bytesPerRow + width)
        return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, int(width), int(height));
    const auto* in = static_cast<const uint8_t*>(provider->data);
    uint8_t* out = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    // A mask sample of 0 lets paint through; the stored coverage is its inverse.
    for (size_t row = 0; row < height; ++row)
        for (size_t i = 0; i < width; ++i) out[row * stride + i] = uint8_t(255 - in[row * bytesPerRow + i]);
    cairo_surface_mark_dirty(surface);
    cg::ImageDescription description;
    description.width = width, description.height = height;
    description.bitsPerComponent = 8, description.bitsPerPixel = 8, description.bytesPerRow = bytesPerRow;
    description.bitmapInfo = kCGImageAlphaNone;
    description.isMask = true;
    description.shouldInterpolate = shouldInterpolate;
    return cg::makeImage(surface, description).leak();
}

CGImageRef CGImageCreateCopy(CGImageRef image) {
    if (!image) return nullptr;
    return cg::makeImage(cairo_surface_reference(image->surface), *image).leak();
}

CGImageRef CGImageCreateWithImageInRect(CGImageRef image, CGRect rect) {
    if (!image) return nullptr;
    CGRect bounds = CGRectMake(0, 0, CGFloat(image->width), CGFloat(image->height));
    CGRect cut = CGRectIntersection(CGRectIntegral(rect), bounds);
    if (CGRectIsEmpty(cut)) return nullptr;
    int x = int(cut.origin.x), y = int(cut.origin.y), width = int(cut.size.width), height = int(cut.size.height);
    cairo_surface_t* surface = copySurface(image->surface, x, y, width, height);
    if (!surface) return nullptr;
    cg::ImageDescription description = *image;
    description.width = size_t(width), description.height = size_t(height);
    description.bytesPerRow = size_t(width) * image->bitsPerPixel / 8;
    return cg::makeImage(surface, description).leak();
}

CGImageRef CGImageCreateWithMaskingColors(CGImageRef image, const CGFloat* components) {
    if (!image || !components || image->isMask || hasAlphaChannel(image)) return nullptr;
    // An image that reports no alpha yet keeps ARGB32 pixels has masking colours already; the
    // phone refuses those, and masking again would turn its transparent pixels into opaque black.
    if (cairo_image_surface_get_format(image->surface) == CAIRO_FORMAT_ARGB32) return nullptr;
    size_t channels = CGColorSpaceGetNumberOfComponents(image->space.get());
    if (channels != 1 && channels != 3) return nullptr;
    int width = int(image->width), height = int(image->height);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(image->surface);
    const uint8_t* in = cairo_image_surface_get_data(image->surface);
    int inStride = cairo_image_surface_get_stride(image->surface);
    uint8_t* out = cairo_image_surface_get_data(surface);
    int outStride = cairo_image_surface_get_stride(surface);
    auto within = [&](unsigned value, size_t channel) {
        return value >= components[2 * channel] && value <= components[2 * channel + 1];
    };
    for (int row = 0; row < height; ++row) {
        const auto* src = reinterpret_cast<const uint32_t*>(in + size_t(row) * inStride);
        auto* dst = reinterpret_cast<uint32_t*>(out + size_t(row) * outStride);
        for (int i = 0; i < width; ++i) {
            uint32_t v = src[i];
            unsigned r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
            bool masked = channels == 1 ? within(r, 0) : within(r, 0) && within(g, 1) && within(b, 2);
            dst[i] = masked ? 0u : (v | 0xFF000000u);
        }
    }
    cairo_surface_mark_dirty(surface);
    cg::ImageDescription description = *image;
    return cg::makeImage(surface, description).leak();
}

CGImageRef CGImageRetain(CGImageRef image) { return cg::retain(image); }

void CGImageRelease(CGImageRef image) { cg::release(image); }

size_t CGImageGetWidth(CGImageRef image) { return image ? image->width : 0; }
size_t CGImageGetHeight(CGImageRef image) { return image ? image->height : 0; }
size_t CGImageGetBitsPerComponent(CGImageRef image) { return image ? image->bitsPerComponent : 0; }
size_t CGImageGetBitsPerPixel(CGImageRef image) { return image ? image->bitsPerPixel : 0; }
size_t CGImageGetBytesPerRow(CGImageRef image) { return image ? image->bytesPerRow : 0; }
CGImageAlphaInfo CGImageGetAlphaInfo(CGImageRef image) {
    return image ? CGImageAlphaInfo(image->bitmapInfo & kCGBitmapAlphaInfoMask) : kCGImageAlphaNone;
}
CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image) { return image ? image->bitmapInfo : 0; }
CGColorSpaceRef CGImageGetColorSpace(CGImageRef image) { return image ? image->space.get() : nullptr; }
bool CGImageIsMask(CGImageRef image) { return image && image->isMask; }
bool CGImageGetShouldInterpolate(CGImageRef image) { return image && image->shouldInterpolate; }

cairo_surface_t* CGImageGetCairoSurface(CGImageRef image) { return image ? image->surface : nullptr; }

CGImageRef CGImageCreateWithCairoSurface(cairo_surface_t* surface, CGColorSpaceRef space, CGBitmapInfo bitmapInfo) {
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
    cairo_format_t format = cairo_image_surface_get_format(surface);
    auto alpha = CGImageAlphaInfo(bitmapInfo & kCGBitmapAlphaInfoMask);
    bool opaqueInfo = alpha == kCGImageAlphaNone || alpha == kCGImageAlphaNoneSkipFirst || alpha == kCGImageAlphaNoneSkipLast;
    CGColorSpaceModel model = CGColorSpaceGetModel(space);
    bool fits = (format == CAIRO_FORMAT_ARGB32 && model == kCGColorSpaceModelRGB && !opaqueInfo && alpha != kCGImageAlphaOnly) ||
                (format == CAIRO_FORMAT_RGB24 && model == kCGColorSpaceModelRGB && opaqueInfo && alpha != kCGImageAlphaNone) ||
                (format == CAIRO_FORMAT_RGB24 && model == kCGColorSpaceModelMonochrome && alpha == kCGImageAlphaNone) ||
                (format == CAIRO_FORMAT_A8 && alpha == kCGImageAlphaOnly);
    int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    if (!fits || width <= 0 || height <= 0) return nullptr;
    cairo_surface_t* copy = copySurface(surface, 0, 0, width, height);
    if (!copy) return nullptr;
    cg::ImageDescription description;
    description.width = size_t(width), description.height = size_t(height);
    description.bitsPerPixel = bitsPerPixelOf(format, space);
    description.bytesPerRow = size_t(width) * description.bitsPerPixel / 8;
    description.bitmapInfo = bitmapInfo;
    description.space = cg::Ref<CGColorSpace>::share(space);
    return cg::makeImage(copy, description).leak();
}

std::vector<uint8_t> CGImageCopyRGBA8Pixels(CGImageRef image) {
    if (!image) return {};
    int width = int(image->width), height = int(image->height);
    std::vector<uint8_t> bytes(size_t(width) * height * 4);
    cairo_surface_t* surface = image->surface;
    cairo_surface_flush(surface);
    const uint8_t* in = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    if (cairo_image_surface_get_format(surface) == CAIRO_FORMAT_A8) {
        for (int row = 0; row < height; ++row)
            for (int i = 0; i < width; ++i) bytes[(size_t(row) * width + i) * 4 + 3] = in[size_t(row) * stride + i];
        return bytes;
    }
    auto rgba = cg::PixelLayout::forContext(8, kCGColorSpaceModelRGB, kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    cg::exportPixels(*rgba, cairo_image_surface_get_format(surface), in, size_t(stride), bytes.data(), size_t(width) * 4, 0, 0, width, height);
    return bytes;
}
