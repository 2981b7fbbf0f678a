// Pictures and Cairo image surfaces: the owning pointers and the conversions between straight and premultiplied pixels.
#pragma once

#include <render/Renderer.h>

#include <cairo.h>

#include <memory>

namespace render {

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using ContextPtr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

// The pixels of an ARGB32 surface as a picture (alpha divided out).
Picture pictureOf(cairo_surface_t* surface);

// A new ARGB32 surface holding the picture's pixels, premultiplied.
SurfacePtr surfaceOf(const Picture& picture);

// The surface scaled down by `shrink` (> 1; whole pixels, the remainder cut off) into a new
// one, bilinear, as contact sheets are filtered.
SurfacePtr shrunkSurface(cairo_surface_t* surface, int shrink);

}  // namespace render
