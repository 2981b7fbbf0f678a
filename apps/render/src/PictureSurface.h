// Pictures and Cairo image surfaces: the owning pointers and the conversions between straight and premultiplied pixels.
#pragma once

#include <render/Renderer.h>

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace render {

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using ContextPtr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

// One premultiplied ARGB32 word (alpha in the top byte) as straight RGBA bytes. Most of a screen
// is opaque or clear, where dividing by alpha changes nothing; the divisions were most of the
// time a whole picture took.
inline void straightPixel(uint32_t argb, uint8_t* rgba) {
    unsigned a = argb >> 24;
    if (a == 255) {
        rgba[0] = uint8_t(argb >> 16), rgba[1] = uint8_t(argb >> 8), rgba[2] = uint8_t(argb), rgba[3] = 255;
        return;
    }
    if (a == 0) {
        rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
        return;
    }
    for (int i = 0; i < 3; ++i) {
        unsigned c = (argb >> (16 - 8 * i)) & 0xff;
        rgba[i] = static_cast<uint8_t>(std::min(255u, (c * 255 + a / 2) / a));
    }
    rgba[3] = uint8_t(a);
}

// The pixels of an ARGB32 surface as a picture (alpha divided out).
Picture pictureOf(cairo_surface_t* surface);

// A new ARGB32 surface holding the picture's pixels, premultiplied.
SurfacePtr surfaceOf(const Picture& picture);

// The surface scaled down by `shrink` (> 1; whole pixels, the remainder cut off) into a new
// one, bilinear, as contact sheets are filtered.
SurfacePtr shrunkSurface(cairo_surface_t* surface, int shrink);

}  // namespace render
