// Access to the Cairo pixels behind images and contexts, for the other drawing frameworks of the platform.
#pragma once

#include <CoreGraphics/CGContext.h>

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <vector>

// The image's pixels as a Cairo image surface (borrowed, valid while the image lives, never to be
// drawn into): CAIRO_FORMAT_ARGB32 (premultiplied) for images with alpha or masked colours,
// CAIRO_FORMAT_RGB24 for opaque RGB and grey images (grey as equal red, green and blue),
// CAIRO_FORMAT_A8 for alpha-only images and image masks (coverage). NULL for NULL.
cairo_surface_t* CGImageGetCairoSurface(CGImageRef image);

// A new image holding a copy of an ARGB32, RGB24 or A8 image surface. `bitmapInfo` describes the
// image to callers (alpha info, byte order) and must fit the surface's format: an alpha-carrying info
// for ARGB32, None/NoneSkip for RGB24 (grey when `space` is grey), kCGImageAlphaOnly for A8.
// NULL when they do not fit.
CGImageRef CGImageCreateWithCairoSurface(cairo_surface_t* surface, CGColorSpaceRef space, CGBitmapInfo bitmapInfo);

// The image's pixels as premultiplied bytes R,G,B,A, rows from the top, 4 × width bytes per row.
// Empty for NULL.
std::vector<uint8_t> CGImageCopyRGBA8Pixels(CGImageRef image);

// Runs Cairo drawing (text, for instance) through the context's graphics state: `draw` receives a
// cairo_t whose matrix maps the current user space to the bitmap (so with an unflipped CTM, y grows
// upwards) and draws with any source and CAIRO_OPERATOR_OVER; the result is then composited with the
// context's clip, masks, alpha and blend mode, and the caller's memory is brought up to date.
void CGContextDrawWithCairo(CGContextRef c, const std::function<void(cairo_t*)>& draw);
