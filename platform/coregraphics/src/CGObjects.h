// What the Core Graphics references point at: colour spaces, colours, data providers and images.
#pragma once

#include "PixelLayout.h"
#include "RefCounted.h"

#include <CoreGraphics/CGColor.h>
#include <CoreGraphics/CGDataProvider.h>
#include <CoreGraphics/CGImage.h>

#include <cairo.h>

#include <vector>

struct CGColorSpace : cg::RefCounted {
    CGColorSpaceModel model = kCGColorSpaceModelRGB;
    size_t components = 3;
};

struct CGColor : cg::RefCounted {
    cg::Ref<CGColorSpace> space;
    std::vector<CGFloat> components;  // colour components followed by alpha
    cg::Ref<CGImage> patternImage;    // set for pattern colours only
};

struct CGDataProvider : cg::RefCounted {
    const void* data = nullptr;
    size_t size = 0;
    void* info = nullptr;
    CGDataProviderReleaseDataCallback releaseData = nullptr;
    std::vector<uint8_t> copy;  // storage when the provider owns its bytes
    ~CGDataProvider() override;
};

namespace cg {
// What an image tells its callers about its pixels.
struct ImageDescription {
    size_t width = 0, height = 0;
    size_t bitsPerComponent = 8, bitsPerPixel = 32, bytesPerRow = 0;
    CGBitmapInfo bitmapInfo = 0;
    Ref<CGColorSpace> space;  // null for masks
    bool isMask = false;
    bool shouldInterpolate = true;
};
}  // namespace cg

// An image's pixels live in a Cairo image surface that nobody draws into once the image exists; a
// bitmap context may share its surface with its snapshot until the context draws again.
struct CGImage : cg::RefCounted, cg::ImageDescription {
    cairo_surface_t* surface = nullptr;
    ~CGImage() override;
};

namespace cg {

CGColorSpace* sharedDeviceRGB();
CGColorSpace* sharedDeviceGray();

// A new image adopting `surface` (one reference) with the given description.
Ref<CGImage> makeImage(cairo_surface_t* surface, const ImageDescription& description);

// Coverage of a mask image as an A8 surface (new reference): alpha where the image has alpha,
// otherwise its grey value; for image masks the stored coverage.
cairo_surface_t* maskCoverage(CGImage* mask);

}  // namespace cg
