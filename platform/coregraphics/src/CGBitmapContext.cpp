// Bitmap contexts: the phone's pixel formats over caller memory, kept in step with Cairo's own pixels.
#include "CGContextInternal.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kMaxDimension = 32767;  // the largest surface Cairo draws

bool surfaceOk(cairo_surface_t* surface) { return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }

cairo_surface_t* copyOf(cairo_surface_t* source) {
    cairo_surface_flush(source);
    int width = cairo_image_surface_get_width(source), height = cairo_image_surface_get_height(source);
    cairo_surface_t* copy = cairo_image_surface_create(cairo_image_surface_get_format(source), width, height);
    if (!surfaceOk(copy)) return copy;
    int inStride = cairo_image_surface_get_stride(source), outStride = cairo_image_surface_get_stride(copy);
    const uint8_t* in = cairo_image_surface_get_data(source);
    uint8_t* out = cairo_image_surface_get_data(copy);
    if (inStride == outStride) {
        std::memcpy(out, in, size_t(inStride) * height);
    } else {
        for (int row = 0; row < height; ++row)
            std::memcpy(out + size_t(row) * outStride, in + size_t(row) * inStride, size_t(std::min(inStride, outStride)));
    }
    cairo_surface_mark_dirty(copy);
    return copy;
}

// Grey pictures are drawn in RGB; their snapshots hold the grey the phone would have stored.
cairo_surface_t* grayCopyOf(cairo_surface_t* source) {
    cairo_surface_t* copy = copyOf(source);
    if (!surfaceOk(copy)) return copy;
    int width = cairo_image_surface_get_width(copy), height = cairo_image_surface_get_height(copy);
    int stride = cairo_image_surface_get_stride(copy);
    uint8_t* data = cairo_image_surface_get_data(copy);
    for (int row = 0; row < height; ++row) {
        auto* pixels = reinterpret_cast<uint32_t*>(data + size_t(row) * stride);
        for (int i = 0; i < width; ++i) {
            uint32_t v = pixels[i];
            uint32_t g = cg::grayFromRgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
            pixels[i] = 0xFF000000u | g << 16 | g << 8 | g;
        }
    }
    cairo_surface_mark_dirty(copy);
    return copy;
}

// A surface over memory nobody has written yet: its context clears or fills it before Cairo reads it.
cairo_surface_t* uninitialisedSurface(cairo_format_t format, int width, int height) {
    static const cairo_user_data_key_t pixelsKey{};
    int stride = cairo_format_stride_for_width(format, width);
    auto* pixels = stride > 0 ? static_cast<uint8_t*>(std::malloc(size_t(stride) * size_t(height))) : nullptr;
    if (!pixels) return cairo_image_surface_create(format, width, height);  // reports the shortage itself
    cairo_surface_t* surface = cairo_image_surface_create_for_data(pixels, format, width, height, stride);
    if (cairo_surface_set_user_data(surface, &pixelsKey, pixels, std::free) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        std::free(pixels);
        return cairo_image_surface_create(format, width, height);
    }
    return surface;
}

void attach(CGContext* c, cairo_surface_t* surface) {
    if (c->cr) cairo_destroy(c->cr);
    if (c->surface) cairo_surface_destroy(c->surface);
    c->surface = surface;
    c->cr = cairo_create(surface);
    c->baseReferences = cairo_surface_get_reference_count(surface);
}

}  // namespace

CGContext::~CGContext() {
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
}

void CGContext::settle() {
    if (pending == Pending::Nothing) return;
    cairo_surface_flush(surface);
    if (pending == Pending::Clearing) {
        // Cleared by Cairo, which then knows the surface to be empty and copies the first picture
        // drawn over it instead of blending.
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_restore(cr);
    } else {
        cg::importPixels(layout, data, bytesPerRow, cairo_image_surface_get_data(surface),
                         size_t(cairo_image_surface_get_stride(surface)), 0, 0, int(width), int(height));
        cairo_surface_mark_dirty(surface);
    }
    pending = Pending::Nothing;
}

bool CGContext::callerRowClear(size_t row) const {
    // Every byte equals its neighbour and the first is zero; memcmp reads the row at full speed.
    const uint8_t* first = data + row * bytesPerRow;
    return first[0] == 0 && std::memcmp(first, first + 1, width * size_t(layout.bytesPerPixel()) - 1) == 0;
}

void CGContext::detachSnapshots() {
    if (direct || cairo_surface_get_reference_count(surface) <= baseReferences) return;
    cairo_surface_t* copy = copyOf(surface);
    if (!surfaceOk(copy)) {
        cairo_surface_destroy(copy);
        return;
    }
    attach(this, copy);
}

void CGContext::publish(const cg::DeviceBox& box) {
    cairo_surface_flush(surface);
    if (!mirrored || box.empty()) return;
    cg::exportPixels(layout, cairo_image_surface_get_format(surface), cairo_image_surface_get_data(surface),
                     size_t(cairo_image_surface_get_stride(surface)), data, bytesPerRow, box.x0, box.y0,
                     box.x1 - box.x0, box.y1 - box.y0);
}

CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent, size_t bytesPerRow,
                                   CGColorSpaceRef space, CGBitmapInfo bitmapInfo) {
    auto layout = cg::PixelLayout::forContext(bitsPerComponent, CGColorSpaceGetModel(space), bitmapInfo);
    if (!layout || (!space && layout->kind != cg::PixelLayout::Kind::Alpha8)) return nullptr;
    if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension) return nullptr;
    size_t rowLength = width * size_t(layout->bytesPerPixel());
    if (bytesPerRow == 0) bytesPerRow = rowLength;
    if (bytesPerRow < rowLength) return nullptr;

    auto c = cg::Ref<CGContext>::adopt(new CGContext);
    c->width = width, c->height = height, c->bitsPerComponent = bitsPerComponent;
    c->bitsPerPixel = size_t(layout->bytesPerPixel()) * 8, c->bytesPerRow = bytesPerRow;
    c->bitmapInfo = bitmapInfo;
    c->space = cg::Ref<CGColorSpace>::share(space);
    c->layout = *layout;

    cairo_format_t format = layout->cairoFormat();
    auto* bytes = static_cast<uint8_t*>(data);
    c->direct = bytes && layout->isCairoNative() && bytesPerRow % 4 == 0 && reinterpret_cast<uintptr_t>(bytes) % 4 == 0;
    // Unless Cairo draws into the caller's bytes, the surface is cleared, or takes in the caller's
    // pixels, when first needed.
    bool mirrored = bytes && !c->direct;
    cairo_surface_t* surface = c->direct ? cairo_image_surface_create_for_data(bytes, format, int(width), int(height), int(bytesPerRow))
                                         : uninitialisedSurface(format, int(width), int(height));
    if (!surfaceOk(surface)) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    c->data = bytes;
    c->mirrored = mirrored;
    c->pending = c->direct ? CGContext::Pending::Nothing
                 : mirrored ? CGContext::Pending::CallerPixels
                            : CGContext::Pending::Clearing;
    attach(c.get(), surface);

    cg::GState initial;
    initial.clipBox = c->fullBox();
    c->states.push_back(initial);
    return c.leak();
}

void* CGBitmapContextGetData(CGContextRef c) {
    if (!c) return nullptr;
    if (c->data) return c->data;
    c->settle();
    bool sameStride = size_t(cairo_image_surface_get_stride(c->surface)) == c->bytesPerRow;
    if (c->layout.isCairoNative() && sameStride) {
        // From now on the caller reads Cairo's pixels themselves, so they must stay where they are.
        c->detachSnapshots();
        c->direct = true;
        c->data = cairo_image_surface_get_data(c->surface);
        return c->data;
    }
    c->ownedData = std::make_unique<uint8_t[]>(c->bytesPerRow * c->height);
    c->data = c->ownedData.get();
    c->mirrored = true;
    c->publish(c->fullBox());
    return c->data;
}

size_t CGBitmapContextGetWidth(CGContextRef c) { return c ? c->width : 0; }
size_t CGBitmapContextGetHeight(CGContextRef c) { return c ? c->height : 0; }
size_t CGBitmapContextGetBitsPerComponent(CGContextRef c) { return c ? c->bitsPerComponent : 0; }
size_t CGBitmapContextGetBitsPerPixel(CGContextRef c) { return c ? c->bitsPerPixel : 0; }
size_t CGBitmapContextGetBytesPerRow(CGContextRef c) { return c ? c->bytesPerRow : 0; }
CGImageAlphaInfo CGBitmapContextGetAlphaInfo(CGContextRef c) {
    return c ? CGImageAlphaInfo(c->bitmapInfo & kCGBitmapAlphaInfoMask) : kCGImageAlphaNone;
}
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef c) { return c ? c->bitmapInfo : 0; }
CGColorSpaceRef CGBitmapContextGetColorSpace(CGContextRef c) { return c ? c->space.get() : nullptr; }

CGImageRef CGBitmapContextCreateImage(CGContextRef c) {
    if (!c) return nullptr;
    c->settle();
    cairo_surface_flush(c->surface);
    cairo_surface_t* pixels;
    if (c->layout.kind == cg::PixelLayout::Kind::Gray8) pixels = grayCopyOf(c->surface);
    else if (c->direct) pixels = copyOf(c->surface);  // the caller may change or free those bytes
    else pixels = cairo_surface_reference(c->surface);  // shared until the context draws again
    if (!surfaceOk(pixels)) {
        cairo_surface_destroy(pixels);
        return nullptr;
    }
    cg::ImageDescription description;
    description.width = c->width, description.height = c->height;
    description.bitsPerComponent = c->bitsPerComponent, description.bitsPerPixel = c->bitsPerPixel;
    description.bytesPerRow = c->bytesPerRow, description.bitmapInfo = c->bitmapInfo;
    description.space = c->space;
    return cg::makeImage(pixels, description).leak();
}

CGContextRef CGContextRetain(CGContextRef c) { return cg::retain(c); }

void CGContextRelease(CGContextRef c) { cg::release(c); }
