// CIImage: a picture with an extent in Core Image's space (origin bottom-left, y up), made from a CGImage or by a filter.
#pragma once

#include <CoreGraphics/CGImage.h>
#include <objc/NSObject.h>

#include <memory>

// Pixel formats of rendering; only these 8-bit ones are rendered here.
typedef int CIFormat;
constexpr CIFormat kCIFormatARGB8 = 516;
constexpr CIFormat kCIFormatBGRA8 = 778;
constexpr CIFormat kCIFormatRGBA8 = 264;

namespace coreimage {
struct Bitmap;
}

// Selectors:
//   + imageWithCGImage:(CGImageRef)   autoreleased; nil for NULL. The extent is (0, 0, pixel width,
//                                     pixel height) and the image's first row is the top one (largest y).
//   - initWithCGImage:(CGImageRef)    owned; nil for NULL
//   - (CGRect)extent
//   - (CGImageRef)CGImage             the bitmap it was made from (borrowed), NULL for filter outputs
//
// Pixels are held as premultiplied RGBA floats from 0 to 1; outside the extent an image is clear.
// No colour management takes place: the numbers of the bitmap are the numbers filters see.
class CIImage : public NSObject {
public:
    static Class class_();
    ~CIImage() override;

    // An autoreleased image over `bitmap` (which must not be null), for filters inside the platform.
    static CIImage* imageWithBitmap(std::shared_ptr<const coreimage::Bitmap> bitmap);

    CGRect extent() const;

    std::shared_ptr<const coreimage::Bitmap> bitmap;  // never null once initialised
    CGImageRef cgImage = nullptr;                     // owned; the source bitmap, if any
};
