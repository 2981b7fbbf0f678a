// Colours: a colour space plus double components that include alpha as the last one.
#pragma once

#include <CoreGraphics/CGColorSpace.h>

// Copies GetNumberOfComponents(space) + 1 values (alpha last). NULL for a NULL or pattern space
// or NULL components.
CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat* components);
// A colour that paints by tiling an image, upright in device space, starting at the device origin
// (the top-left pixel of a bitmap). Its space is a pattern space and its only component is alpha 1.
// The colour keeps its own reference to the image. NULL for a NULL image.
CGColorRef CGColorCreateWithPatternImage(CGImageRef image);
// A copy whose alpha is replaced. NULL for NULL.
CGColorRef CGColorCreateCopyWithAlpha(CGColorRef color, CGFloat alpha);

CGColorRef CGColorRetain(CGColorRef color);
void CGColorRelease(CGColorRef color);

// Components including alpha: 4 for RGB, 2 for monochrome, 1 for pattern colours; 0 for NULL.
size_t CGColorGetNumberOfComponents(CGColorRef color);
// Borrowed array of GetNumberOfComponents values, valid while the colour lives; NULL for NULL.
const CGFloat* CGColorGetComponents(CGColorRef color);
CGFloat CGColorGetAlpha(CGColorRef color);
// Borrowed.
CGColorSpaceRef CGColorGetColorSpace(CGColorRef color);
// The tile of a pattern colour (borrowed), NULL for every other colour.
CGImageRef CGColorGetPatternImage(CGColorRef color);
// Same space model and equal components (pattern colours: the same image). Two NULLs are equal.
bool CGColorEqualToColor(CGColorRef color1, CGColorRef color2);
