// CIContext: renders CIImages into CGImages and into caller memory.
#pragma once

#include <CoreGraphics/CGColorSpace.h>
#include <CoreGraphics/CGImage.h>
#include <CoreImage/CIImage.h>
#include <objc/NSObject.h>

// Selectors:
//   + contextWithOptions:(NSDictionary*)   autoreleased; options are accepted and ignored
//   + context                              the same with no options
//   - (CGImageRef)createCGImage:(CIImage*)fromRect:(CGRect)
//        A new image the caller owns (release it with CGImageRelease): the pixels of `rect` (Core
//        Image space, made integral), the top row first, as premultiplied RGBA (device RGB,
//        kCGImageAlphaPremultipliedLast, 32-bit big-endian), clear where the image has nothing.
//        NULL for a nil image or an empty, unbounded or oversized rectangle.
//   - render:(CIImage*)toBitmap:(void*)rowBytes:(long)bounds:(CGRect)format:(int CIFormat)colorSpace:(CGColorSpaceRef)
//        Writes the pixels of `bounds` (made integral) into `toBitmap`, the top row first, 8-bit
//        premultiplied, in the byte order of kCIFormatRGBA8, kCIFormatARGB8 or kCIFormatBGRA8;
//        values are rounded to the nearest step. The colour space is not used (values pass
//        unchanged). Writes nothing for a nil image, NULL memory, rowBytes shorter than a row,
//        another format, or empty, unbounded or oversized bounds.
class CIContext : public NSObject {
public:
    static Class class_();
};
