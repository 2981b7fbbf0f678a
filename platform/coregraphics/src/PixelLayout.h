// Byte layouts of 8-bit pixels and their conversion to and from Cairo's native pixels.
#pragma once

#include <CoreGraphics/CGBase.h>
#include <CoreGraphics/CGColorSpace.h>

#include <cairo.h>

#include <cstdint>
#include <optional>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel conversions assume a little-endian host");

namespace cg {

struct PixelLayout {
    enum class Kind { Rgb32, Rgb24, Gray8, GrayAlpha16, Alpha8 };
    Kind kind = Kind::Rgb32;
    // Byte index of each channel within a pixel; -1 where the layout has none.
    int red = 0, green = 1, blue = 2, alpha = 3;
    bool premultiplied = true;

    int bytesPerPixel() const;
    bool hasAlpha() const { return alpha >= 0; }
    // What Cairo stores these pixels as: ARGB32 with alpha, RGB24 without, A8 for alpha-only.
    cairo_format_t cairoFormat() const;
    // Whether Cairo's own pixels of cairoFormat() are these very bytes.
    bool isCairoNative() const;
    // Whether these are Cairo's pixel words with their bytes reversed (alpha or padding first, big-endian).
    bool isCairoReversed() const;

    // Layouts an image may be created with; nullopt when not accepted.
    static std::optional<PixelLayout> forImage(size_t bitsPerComponent, size_t bitsPerPixel, CGColorSpaceModel model,
                                               CGBitmapInfo info);
    // Layouts a bitmap context may draw into, as the phone accepts them.
    static std::optional<PixelLayout> forContext(size_t bitsPerComponent, CGColorSpaceModel model, CGBitmapInfo info);
};

// Converts a block of rows between caller bytes in `layout` and Cairo pixels (layout.cairoFormat() on
// import; ARGB32, RGB24 or, for alpha-only layouts, A8 on export). x, y, width, height select the
// block; strides are in bytes.
void importPixels(const PixelLayout& layout, const uint8_t* bytes, size_t bytesPerRow, uint8_t* cairoPixels,
                  size_t cairoStride, int x, int y, int width, int height);
void exportPixels(const PixelLayout& layout, cairo_format_t cairoFormat, const uint8_t* cairoPixels, size_t cairoStride, uint8_t* bytes,
                  size_t bytesPerRow, int x, int y, int width, int height);

// The grey value the phone gives an RGB colour drawn into a grey bitmap.
inline uint8_t grayFromRgb(unsigned r, unsigned g, unsigned b) { return uint8_t((r * 299 + g * 587 + b * 114 + 500) / 1000); }

}  // namespace cg
