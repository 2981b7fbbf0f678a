// UIImage: an immutable picture with a size in points and a scale, backed by a CGImage or a CIImage.
#pragma once

#include <CoreGraphics/CGImage.h>
#include <UIKit/UIGeometry.h>
#include <objc/NSObject.h>

#include <functional>
#include <string>

// Selectors (factories return autoreleased images; nil where noted):
//   + imageNamed:(id NSString)     sends imageNamed:inBundle:compatibleWithTraitCollection: with the
//                                  main bundle and no traits, so that replacements of it see every load
//   + imageNamed:(id)inBundle:(id)compatibleWithTraitCollection:(id)
//                                  stock: asks the host's named-image provider (nil without one)
//   + imageWithContentsOfFile:(id NSString)   a PNG at a device path; the scale is N when the file
//                                  name ends in "@Nx.png"; nil for missing or unreadable files
//   + imageWithData:(id NSData), imageWithData:(id)scale:(double)     PNG bytes; nil when unreadable
//   + imageWithCGImage:(CGImageRef)                  scale 1, up; nil for NULL
//   + imageWithCGImage:(CGImageRef)scale:(double)orientation:(long)
//   + imageWithCIImage:(id), imageWithCIImage:(id)scale:(double)orientation:(long)   nil for nil
//   - initWithCGImage:, initWithCGImage:scale:orientation:, initWithCIImage:, initWithContentsOfFile:,
//     initWithData:   (owned results)
//   - (CGSize)size            pixels / scale; width and height swap for the left/right orientations
//   - (double)scale, (long)imageOrientation, (long)renderingMode
//   - (CGImageRef)CGImage     borrowed; NULL for an image made from a CIImage
//   - (id)CIImage             the CIImage it was made from, else nil
//   - imageWithRenderingMode:(long)     a copy with the mode (the receiver when unchanged)
//   - resizableImageWithCapInsets:(UIEdgeInsets)   a _UIResizableImage; (UIEdgeInsets)capInsets
//   - imageWithAlignmentRectInsets:(UIEdgeInsets), imageFlippedForRightToLeftLayoutDirection: the receiver
//   - drawInRect:(CGRect), drawInRect:(CGRect)blendMode:(int CGBlendMode)alpha:(double),
//     drawAtPoint:(CGPoint), drawAtPoint:(CGPoint)blendMode:(int)alpha:(double)
//        draw upright in the current UIKit context (top-left origin), as the phone does;
//        nothing without a current context
class UIImage : public NSObject {
public:
    static Class class_();
    ~UIImage() override;

    // An autoreleased image for C++ callers inside the platform; takes its own reference.
    static UIImage* imageWithCGImage(CGImageRef image, double scale = 1.0, long orientation = 0);

    // The size in points, as `size` answers.
    CGSize pointSize() const;

    CGImageRef cgImage = nullptr;  // owned
    objc::Strong<objc_object> ciImage;
    double scale = 1.0;
    long orientation = 0;
    long renderingMode = 0;
    UIEdgeInsets capInsets{};
};

// UIImageOrientation
constexpr long UIImageOrientationUp = 0;
constexpr long UIImageOrientationDown = 1;
constexpr long UIImageOrientationLeft = 2;
constexpr long UIImageOrientationRight = 3;
constexpr long UIImageOrientationUpMirrored = 4;
constexpr long UIImageOrientationDownMirrored = 5;
constexpr long UIImageOrientationLeftMirrored = 6;
constexpr long UIImageOrientationRightMirrored = 7;

// UIImageRenderingMode
constexpr long UIImageRenderingModeAutomatic = 0;
constexpr long UIImageRenderingModeAlwaysOriginal = 1;
constexpr long UIImageRenderingModeAlwaysTemplate = 2;

namespace platform {

// Answers the stock +imageNamed:inBundle:compatibleWithTraitCollection:. Receives the name as
// UTF-8 and the bundle object (nil for the main bundle) and returns an image it owns no longer
// (autoreleased or otherwise kept alive by the provider), or nil. Set by a host that knows
// where its app's images live; without one, every named image is nil. Not thread-safe
// against concurrent loads: install it before loading starts.
using NamedImageProvider = std::function<id(const std::string& name, id bundle)>;
void setNamedImageProvider(NamedImageProvider provider);

}  // namespace platform
