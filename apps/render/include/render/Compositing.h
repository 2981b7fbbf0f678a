// Compositing strategies Cairo has no operator for, applied pixel by pixel to premultiplied ARGB.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>

namespace render {

// One premultiplied pixel: alpha, red, green, blue, 0–255.
using PremultipliedPixel = std::array<uint8_t, 4>;

// Plus-darker: per channel max(0, source + destination − 1) where both are opaque; with
// coverage, the separable form result = S·(1−Da) + D·(1−Sa) + max(0, S·Da + D·Sa − Sa·Da) and
// alpha = Sa + Da − Sa·Da, so that where the source is transparent the destination stays.
PremultipliedPixel plusDarker(PremultipliedPixel source, PremultipliedPixel destination);

// Composites `source` (an ARGB32 image surface) onto `destination` (an ARGB32 image surface) with
// plus-darker, the source's pixel (0, 0) over the destination's pixel (x, y); pixels outside
// either surface are left alone.
void compositePlusDarker(cairo_surface_t* source, cairo_surface_t* destination, int x, int y);

}  // namespace render
