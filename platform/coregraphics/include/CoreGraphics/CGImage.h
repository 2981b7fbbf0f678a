// Bitmap images: immutable pixels with a colour space, an alpha layout and a byte order.
#pragma once

#include <CoreGraphics/CGColorSpace.h>
#include <CoreGraphics/CGDataProvider.h>

// Accepted layouts: 8 bits per component; RGB at 32 bits per pixel with any alpha info but
// kCGImageAlphaNone/kCGImageAlphaOnly, or at 24 bits with kCGImageAlphaNone; grey at 8 bits
// (kCGImageAlphaNone) or 16 bits (alpha last or first); alpha-only at 8 bits with a NULL or grey space.
// Byte orders Default, 32Big and 32Little. Unpremultiplied pixels (Last/First) are accepted and
// premultiplied on the way in. Returns NULL for other layouts, a NULL provider, zero sizes, row bytes
// too small for the width or a provider too short for height rows. `decode` is ignored.
CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel,
                         size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo,
                         CGDataProviderRef provider, const CGFloat* decode, bool shouldInterpolate,
                         CGColorRenderingIntent intent);
// An image mask: 8-bit samples where 0 paints and 255 masks out (as the phone's masks).
CGImageRef CGImageMaskCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel,
                             size_t bytesPerRow, CGDataProviderRef provider, const CGFloat* decode,
                             bool shouldInterpolate);
CGImageRef CGImageCreateCopy(CGImageRef image);
// The pixels of `rect` (in pixels, top-left origin, made integral and cut to the image).
// NULL when nothing of the image remains.
CGImageRef CGImageCreateWithImageInRect(CGImageRef image, CGRect rect);
// Colour masking: pixels whose every colour component lies in [min, max] (component pairs,
// 0–255 for 8-bit images) become transparent. Images that carry an alpha channel or already have
// masking colours are refused (NULL), as the phone refuses them; so are NULL arguments. The result has no alpha channel in
// its alpha info, like the phone's, but draws the masked pixels transparent.
CGImageRef CGImageCreateWithMaskingColors(CGImageRef image, const CGFloat* components);

CGImageRef CGImageRetain(CGImageRef image);
void CGImageRelease(CGImageRef image);

// All getters answer 0/NULL for NULL.
size_t CGImageGetWidth(CGImageRef image);
size_t CGImageGetHeight(CGImageRef image);
size_t CGImageGetBitsPerComponent(CGImageRef image);
size_t CGImageGetBitsPerPixel(CGImageRef image);
size_t CGImageGetBytesPerRow(CGImageRef image);
CGImageAlphaInfo CGImageGetAlphaInfo(CGImageRef image);
CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image);
// Borrowed; NULL for masks.
CGColorSpaceRef CGImageGetColorSpace(CGImageRef image);
bool CGImageIsMask(CGImageRef image);
bool CGImageGetShouldInterpolate(CGImageRef image);
