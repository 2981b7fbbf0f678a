// Fuzz target: PNG decoding through Core Graphics and UIImage, and drawing what decodes.
#include "scratch_device.h"

#include <CoreGraphics/CGImagePNG.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImage.h>

namespace {

constexpr const char* kImagePath = "/var/mobile/Library/Artwork/cover@2x.png";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::scratchDevice();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    objc::AutoreleasePool pool;

    // Whatever decodes encodes again, and the copy decodes to the same size.
    if (CGImageRef image = CGImageCreateWithPNGData(data, size)) {
        std::size_t width = CGImageGetWidth(image), height = CGImageGetHeight(image);
        if (width == 0 || height == 0) fuzzing::broken("a decoded image has pixels");
        if (CGImageGetBytesPerRow(image) < width * CGImageGetBitsPerPixel(image) / 8) fuzzing::broken("rows hold their pixels");
        std::vector<std::uint8_t> png = CGImageCopyPNGData(image);
        CGImageRef again = CGImageCreateWithPNGData(png.data(), png.size());
        if (!again || CGImageGetWidth(again) != width || CGImageGetHeight(again) != height)
            fuzzing::broken("an encoded image decodes to its own size");
        CGImageRelease(again);
        CGImageRelease(image);
    }

    // The UIKit readers: from bytes, and from a file whose name gives the scale.
    id bytes = msg<id>(objc_getClass("NSData"), sel<"dataWithBytes:length:">(), static_cast<const void*>(data),
                       static_cast<unsigned long>(size));
    id fromData = msg<id>(objc_getClass("UIImage"), sel<"imageWithData:">(), bytes);
    fuzzing::placeFile(kImagePath, {reinterpret_cast<const char*>(data), size});
    id fromFile = msg<id>(objc_getClass("UIImage"), sel<"imageWithContentsOfFile:">(), objc::str(kImagePath));
    if ((fromData == nil) != (fromFile == nil)) fuzzing::broken("the same bytes read the same from data and file");
    if (!fromFile) return 0;
    if (msg<double>(fromFile, sel<"scale">()) != 2.0) fuzzing::broken("an @2x file has scale 2");

    // Drawn into a small context, scaled down whatever its size.
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(8, 8), false, 1.0);
    msg<void>(fromFile, sel<"drawInRect:">(), CGRectMake(0, 0, 8, 8));
    if (!UIGraphicsGetImageFromCurrentImageContext()) fuzzing::broken("a context gives its image");
    UIGraphicsEndImageContext();
    return 0;
}
