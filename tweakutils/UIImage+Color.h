// UIImage(Color): tinting, rounding, scaling, brightness, pixel reading and comparison of images, over nullable images.
#pragma once

#include "UIColor+TarnwickImages.h"

#include <CoreGraphics/CGGeometry.h>
#include <objc/objc.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

// Every function takes an image that may be nil and answers nil, NO or 0 for it, as a message
// to nil would. Images returned are new and autoreleased unless a function says otherwise.
// Contexts are opened and closed on the calling thread's stack, so a caller's own open image
// context is left as it was.

// The image clipped to a rounded rectangle. The path is built in a system scaled by `radius`,
// so the corners have a radius of radius × radius points (2.0 gives 4-point corners). Drawn at
// the scale of the application's first window's screen, or the main screen's when there is
// no application or no window yet. Radius 0 returns the image itself, and so does a radius
// that is not a finite number, which outlines nothing.
id roundedImageWithRadius(id image, double radius);

// The image painted in `tint` through its own alpha: opaque pixels become the tint, transparent
// ones stay transparent, a pixel of alpha a becomes a × tint + (1 − a) × itself (premultiplied).
// Same size in points, at the main screen's scale. A nil tint paints opaque black.
id imageWithTint(id image, id tint);

// The image stretched to `size` points, at the main screen's scale.
id scaledToSize(id image, CGSize size);

// The image resampled with high-quality filtering to `size` pixels (each side truncated toward
// zero), as an upright image of scale 1. Raises NSException "HighQualityImageScalingFailureException"
// (reason "vImageScale returned error code N", userInfo {"sourceImage": image, "destSize": NSValue
// of `size`}) when the scaler refuses: for a side that truncates to 0 (negative and NaN sides
// count as 0), for a size whose buffer cannot be had, or for an image without a bitmap.
id vImageScaledImageWithSize(id image, CGSize size);

// Every colour channel multiplied by `factor` (clipped to 1), alpha unchanged, keeping the
// image's scale and orientation. The image itself when it has no pixels to filter.
id imageWithBrightness(id image, double factor);

// The area average of the image as a colour of 8-bit steps. Nil when the image has no pixels
// to filter.
id averageColor(id image);

// Mean BT.601 luma of the image reduced to one pixel per point, premultiplied (transparent
// pixels count as black), from 0 to 1. Not a number for an image of zero area.
double luminosity(id image);

// A pixel buffer that the caller owns and that releases itself with free().
using RGBAPixels = std::unique_ptr<std::uint8_t[], decltype(&std::free)>;

// The image drawn at one pixel per point into premultiplied R,G,B,A bytes, rows from the top,
// floor(4 × width) bytes per row, floor(height) rows, cleared before drawing. Null for nil.
RGBAPixels rgbaPixels(id image);

// The image with every pixel whose red, green and blue all lie in 222…255 made transparent,
// at the main screen's scale. Colour masking only works on images without an alpha channel:
// for an image with alpha the result is fully transparent.
id removeWhiteColor(id image);

// YES when both images encode to the same PNG bytes; NO when either is nil or cannot be encoded.
BOOL isSameImage(id image, id other);

// YES when the image's bitmap carries an alpha channel (premultiplied or not, first or last);
// NO for opaque layouts, alpha-only masks and images without a bitmap.
BOOL hasAlpha(id image);
