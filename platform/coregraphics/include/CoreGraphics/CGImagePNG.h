// PNG decoding into images and deterministic PNG encoding of images.
#pragma once

#include <CoreGraphics/CGImage.h>

#include <cstdint>
#include <vector>

// Decodes a PNG file held in memory. RGB without alpha gives a kCGImageAlphaNoneSkipLast RGB image;
// RGB with alpha, grey with alpha and palette images give premultiplied RGBA
// (kCGImageAlphaPremultipliedLast, bytes R,G,B,A); grey without alpha gives an 8-bit grey image;
// 16-bit samples are reduced to 8 bits. NULL for NULL, truncated or malformed data (never a crash).
CGImageRef CGImageCreateWithPNGData(const void* bytes, size_t length);
// The phone's entry point over a data provider; decode and intent are ignored.
CGImageRef CGImageCreateWithPNGDataProvider(CGDataProviderRef source, const CGFloat* decode, bool shouldInterpolate,
                                            CGColorRenderingIntent intent);

// Encodes an image as PNG: RGBA when the image has alpha (straight, not premultiplied, values), RGB for
// opaque RGB images, grey for grey images, grey+alpha is never produced; image masks and alpha-only
// images are written as grey coverage. The same pixels always give the same bytes: fixed compression
// level and filter, no time or text chunks. Empty for NULL or on failure.
std::vector<uint8_t> CGImageCopyPNGData(CGImageRef image);
