// Bitmap contexts: drawing into memory in the byte order the caller chose.
#pragma once

#include <CoreGraphics/CGContext.h>

// Accepted pixel formats (8 bits per component), as on the phone:
//   RGB space, 32 bits per pixel: kCGImageAlphaPremultipliedLast, PremultipliedFirst, NoneSkipLast,
//     NoneSkipFirst, with kCGBitmapByteOrderDefault, 32Big (bytes in the order the alpha info names)
//     or 32Little (the 32-bit word reversed; PremultipliedFirst|32Little is Cairo's own layout and is
//     drawn in place);
//   grey space: kCGImageAlphaNone, 8 bits per pixel;
//   NULL or grey space: kCGImageAlphaOnly, 8 bits per pixel.
// Returns NULL for anything else (unpremultiplied alpha, 16-bit byte orders, float components, alpha
// info None with RGB, four bytes per pixel in a grey space), for zero or oversized dimensions and for
// bytesPerRow smaller than a row (0 asks for the packed row length).
//
// With data NULL the context allocates zeroed memory of its own; otherwise it draws over the
// caller's memory, which must outlive the context and starts out as the picture's contents. After each
// drawing call returns, the caller's memory holds the phone's bytes for what was drawn. Bytes the
// caller writes into that memory while the context lives are not seen by later drawing.
CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo);

// The bytes of the picture in the context's own layout, kept current from this call on.
void* CGBitmapContextGetData(CGContextRef c);
size_t CGBitmapContextGetWidth(CGContextRef c);
size_t CGBitmapContextGetHeight(CGContextRef c);
size_t CGBitmapContextGetBitsPerComponent(CGContextRef c);
size_t CGBitmapContextGetBitsPerPixel(CGContextRef c);
size_t CGBitmapContextGetBytesPerRow(CGContextRef c);
CGImageAlphaInfo CGBitmapContextGetAlphaInfo(CGContextRef c);
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef c);
CGColorSpaceRef CGBitmapContextGetColorSpace(CGContextRef c);
// A snapshot: later drawing into the context does not change the image. NULL for NULL.
CGImageRef CGBitmapContextCreateImage(CGContextRef c);
