// Byte layouts of 8-bit pixels and their conversion to and from Cairo's native pixels.
#include "PixelLayout.h"

#include <cstring>

namespace cg {

namespace {

uint32_t byteOrderOf(CGBitmapInfo info) { return info & kCGBitmapByteOrderMask; }

// Channel byte positions of a 32-bit RGB pixel: the alpha info names the order within the 32-bit
// word, and a little-endian byte order stores that word reversed.
PixelLayout rgb32(CGImageAlphaInfo alpha, bool littleEndian) {
    bool alphaFirst = alpha == kCGImageAlphaPremultipliedFirst || alpha == kCGImageAlphaFirst ||
                      alpha == kCGImageAlphaNoneSkipFirst;
    bool skip = alpha == kCGImageAlphaNoneSkipFirst || alpha == kCGImageAlphaNoneSkipLast;
    int order[4];  // word order: positions of R, G, B, A
    if (alphaFirst) order[0] = 1, order[1] = 2, order[2] = 3, order[3] = 0;
    else order[0] = 0, order[1] = 1, order[2] = 2, order[3] = 3;
    if (littleEndian)
        for (int& i : order) i = 3 - i;
    PixelLayout l;
    l.kind = PixelLayout::Kind::Rgb32;
    l.red = order[0], l.green = order[1], l.blue = order[2];
    l.alpha = skip ? -1 : order[3];
    l.premultiplied = alpha != kCGImageAlphaLast && alpha != kCGImageAlphaFirst;
    return l;
}

uint8_t premultiply(unsigned c, unsigned a) { return uint8_t((c * a + 127) / 255); }
uint8_t unpremultiply(unsigned c, unsigned a) {
    if (a == 0) return 0;
    unsigned v = (c * 255 + a / 2) / a;
    return uint8_t(v > 255 ? 255 : v);
}

}  // namespace

int PixelLayout::bytesPerPixel() const {
    switch (kind) {
        case Kind::Rgb32: return 4;
        case Kind::Rgb24: return 3;
        case Kind::GrayAlpha16: return 2;
        case Kind::Gray8:
        case Kind::Alpha8: return 1;
    }
    return 4;
}

cairo_format_t PixelLayout::cairoFormat() const {
    switch (kind) {
        case Kind::Alpha8: return CAIRO_FORMAT_A8;
        case Kind::GrayAlpha16: return CAIRO_FORMAT_ARGB32;
        case Kind::Rgb32: return hasAlpha() ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24;
        default: return CAIRO_FORMAT_RGB24;
    }
}

bool PixelLayout::isCairoNative() const {
    if (kind == Kind::Alpha8) return true;
    return kind == Kind::Rgb32 && premultiplied && red == 2 && green == 1 && blue == 0 && (alpha == 3 || alpha == -1);
}

bool PixelLayout::isCairoReversed() const {
    return kind == Kind::Rgb32 && premultiplied && red == 1 && green == 2 && blue == 3 && (alpha == 0 || alpha == -1);
}

std::optional<PixelLayout> PixelLayout::forImage(size_t bitsPerComponent, size_t bitsPerPixel, CGColorSpaceModel model,
                                                 CGBitmapInfo info) {
    if (bitsPerComponent != 8 || (info & kCGBitmapFloatComponents)) return std::nullopt;
    auto alpha = CGImageAlphaInfo(info & kCGBitmapAlphaInfoMask);
    uint32_t order = byteOrderOf(info);
    if (alpha == kCGImageAlphaOnly) {
        if (bitsPerPixel != 8 || (model != kCGColorSpaceModelUnknown && model != kCGColorSpaceModelMonochrome))
            return std::nullopt;
        PixelLayout l;
        l.kind = Kind::Alpha8, l.red = l.green = l.blue = -1, l.alpha = 0;
        return l;
    }
    if (model == kCGColorSpaceModelRGB) {
        if (bitsPerPixel == 24 && alpha == kCGImageAlphaNone && order == kCGBitmapByteOrderDefault) {
            PixelLayout l;
            l.kind = Kind::Rgb24, l.alpha = -1;
            return l;
        }
        if (bitsPerPixel != 32 || alpha == kCGImageAlphaNone || alpha > kCGImageAlphaNoneSkipFirst) return std::nullopt;
        if (order != kCGBitmapByteOrderDefault && order != kCGBitmapByteOrder32Big && order != kCGBitmapByteOrder32Little)
            return std::nullopt;
        return rgb32(alpha, order == kCGBitmapByteOrder32Little);
    }
    if (model == kCGColorSpaceModelMonochrome) {
        if (bitsPerPixel == 8 && alpha == kCGImageAlphaNone) {
            PixelLayout l;
            l.kind = Kind::Gray8, l.red = l.green = l.blue = 0, l.alpha = -1;
            return l;
        }
        bool last = alpha == kCGImageAlphaPremultipliedLast || alpha == kCGImageAlphaLast;
        bool first = alpha == kCGImageAlphaPremultipliedFirst || alpha == kCGImageAlphaFirst;
        if (bitsPerPixel != 16 || !(last || first)) return std::nullopt;
        if (order == kCGBitmapByteOrder32Big || order == kCGBitmapByteOrder32Little) return std::nullopt;
        bool swapped = order == kCGBitmapByteOrder16Little;
        PixelLayout l;
        l.kind = Kind::GrayAlpha16;
        int grey = (last != swapped) ? 0 : 1;
        l.red = l.green = l.blue = grey, l.alpha = 1 - grey;
        l.premultiplied = alpha == kCGImageAlphaPremultipliedLast || alpha == kCGImageAlphaPremultipliedFirst;
        return l;
    }
    return std::nullopt;
}

std::optional<PixelLayout> PixelLayout::forContext(size_t bitsPerComponent, CGColorSpaceModel model, CGBitmapInfo info) {
    if (bitsPerComponent != 8 || (info & kCGBitmapFloatComponents)) return std::nullopt;
    auto alpha = CGImageAlphaInfo(info & kCGBitmapAlphaInfoMask);
    uint32_t order = byteOrderOf(info);
    if (alpha == kCGImageAlphaOnly) return forImage(8, 8, model, info);
    if (model == kCGColorSpaceModelMonochrome)
        return alpha == kCGImageAlphaNone ? forImage(8, 8, model, info) : std::nullopt;
    if (model != kCGColorSpaceModelRGB) return std::nullopt;
    bool accepted = alpha == kCGImageAlphaPremultipliedLast || alpha == kCGImageAlphaPremultipliedFirst ||
                    alpha == kCGImageAlphaNoneSkipLast || alpha == kCGImageAlphaNoneSkipFirst;
    if (!accepted) return std::nullopt;
    if (order != kCGBitmapByteOrderDefault && order != kCGBitmapByteOrder32Big && order != kCGBitmapByteOrder32Little)
        return std::nullopt;
    return rgb32(alpha, order == kCGBitmapByteOrder32Little);
}

void importPixels(const PixelLayout& layout, const uint8_t* bytes, size_t bytesPerRow, uint8_t* cairoPixels,
                  size_t cairoStride, int x, int y, int width, int height) {
    int bpp = layout.bytesPerPixel();
    for (int row = y; row < y + height; ++row) {
        const uint8_t* in = bytes + size_t(row) * bytesPerRow + size_t(x) * bpp;
        uint8_t* outBytes = cairoPixels + size_t(row) * cairoStride;
        if (layout.kind == PixelLayout::Kind::Alpha8) {
            std::memcpy(outBytes + x, in, size_t(width));
            continue;
        }
        auto* out = reinterpret_cast<uint32_t*>(outBytes) + x;
        if (layout.isCairoNative()) {
            std::memcpy(out, in, size_t(width) * 4);
            if (!layout.hasAlpha())
                for (int i = 0; i < width; ++i) out[i] |= 0xFF000000u;
            continue;
        }
        if (layout.isCairoReversed()) {
            const uint32_t opaque = layout.hasAlpha() ? 0 : 0xFF000000u;
            for (int i = 0; i < width; ++i, in += 4) {
                uint32_t word;
                std::memcpy(&word, in, 4);
                out[i] = __builtin_bswap32(word) | opaque;
            }
            continue;
        }
        const int r = layout.red, g = layout.green, b = layout.blue, a = layout.alpha;
        for (int i = 0; i < width; ++i, in += bpp) {
            unsigned A = a >= 0 ? in[a] : 255, R = in[r], G = in[g], B = in[b];
            if (!layout.premultiplied && A != 255) R = premultiply(R, A), G = premultiply(G, A), B = premultiply(B, A);
            out[i] = A << 24 | R << 16 | G << 8 | B;
        }
    }
}

void exportPixels(const PixelLayout& layout, cairo_format_t cairoFormat, const uint8_t* cairoPixels, size_t cairoStride, uint8_t* bytes,
                  size_t bytesPerRow, int x, int y, int width, int height) {
    int bpp = layout.bytesPerPixel();
    // Cairo leaves the top byte of RGB24 pixels undefined.
    const bool opaqueSource = cairoFormat == CAIRO_FORMAT_RGB24;
    for (int row = y; row < y + height; ++row) {
        const uint8_t* inBytes = cairoPixels + size_t(row) * cairoStride;
        uint8_t* out = bytes + size_t(row) * bytesPerRow + size_t(x) * bpp;
        if (layout.kind == PixelLayout::Kind::Alpha8) {
            std::memcpy(out, inBytes + x, size_t(width));
            continue;
        }
        const auto* in = reinterpret_cast<const uint32_t*>(inBytes) + x;
        if (layout.isCairoNative()) {
            std::memcpy(out, in, size_t(width) * 4);
            if (!layout.hasAlpha() || opaqueSource)
                for (int i = 0; i < width; ++i) out[4 * i + 3] = 0xFF;
            continue;
        }
        if (layout.kind == PixelLayout::Kind::Gray8) {
            for (int i = 0; i < width; ++i) out[i] = grayFromRgb((in[i] >> 16) & 0xFF, (in[i] >> 8) & 0xFF, in[i] & 0xFF);
            continue;
        }
        if (layout.isCairoReversed()) {
            const uint32_t opaque = !layout.hasAlpha() || opaqueSource ? 0xFFu : 0;
            for (int i = 0; i < width; ++i) {
                uint32_t word = __builtin_bswap32(in[i]) | opaque;
                std::memcpy(out + 4 * size_t(i), &word, 4);
            }
            continue;
        }
        if (layout.kind == PixelLayout::Kind::Rgb32 && layout.premultiplied) {
            // Word-level shuffle: each channel moves from its Cairo bit position to its byte position.
            // Straight-alpha layouts (PNG rows) take the unpremultiplying path below.
            const unsigned rs = 8 * layout.red, gs = 8 * layout.green, bs = 8 * layout.blue;
            const bool skip = !layout.hasAlpha(), opaque = skip || opaqueSource;
            const unsigned as = 8 * (skip ? unsigned(6 - layout.red - layout.green - layout.blue) : unsigned(layout.alpha));
            for (int i = 0; i < width; ++i) {
                uint32_t v = in[i];
                uint32_t A = opaque ? 0xFF : v >> 24;
                uint32_t word = ((v >> 16) & 0xFF) << rs | ((v >> 8) & 0xFF) << gs | (v & 0xFF) << bs | A << as;
                std::memcpy(out + 4 * size_t(i), &word, 4);
            }
            continue;
        }
        const int r = layout.red, g = layout.green, b = layout.blue, a = layout.alpha;
        for (int i = 0; i < width; ++i, out += bpp) {
            uint32_t v = in[i];
            unsigned A = v >> 24, R = (v >> 16) & 0xFF, G = (v >> 8) & 0xFF, B = v & 0xFF;
            if (!layout.hasAlpha() || opaqueSource) A = 255;
            if (!layout.premultiplied) R = unpremultiply(R, A), G = unpremultiply(G, A), B = unpremultiply(B, A);
            if (layout.kind == PixelLayout::Kind::GrayAlpha16) {
                out[r] = grayFromRgb(R, G, B);
            } else {
                out[r] = uint8_t(R), out[g] = uint8_t(G), out[b] = uint8_t(B);
            }
            if (a >= 0) out[a] = uint8_t(A);
        }
    }
}

}  // namespace cg
