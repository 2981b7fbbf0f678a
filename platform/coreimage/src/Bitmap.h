// The pixels behind a CIImage: premultiplied RGBA floats over an integral extent, and reading them in Core Image's space.
#pragma once

#include <CoreGraphics/CGGeometry.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace coreimage {

using Pixel = std::array<float, 4>;  // r, g, b, a, premultiplied, 0–1

// The largest side a bitmap or a rendering may have, as for Core Graphics surfaces.
constexpr long kMaxDimension = 32767;

// An integral rectangle of Core Image space (y up).
struct PixelRect {
    long x = 0, y = 0, width = 0, height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    CGRect cgRect() const { return CGRectMake(double(x), double(y), double(width), double(height)); }
    PixelRect intersect(const PixelRect& other) const;
    // The smallest integral rectangle holding `rect`; nullopt for a null, empty, unbounded or
    // oversized one.
    static std::optional<PixelRect> around(CGRect rect);
};

struct Bitmap {
    PixelRect extent;
    std::vector<Pixel> pixels;  // extent.height rows of extent.width, the top row (largest y) first

    explicit Bitmap(PixelRect area) : extent(area), pixels(size_t(area.width) * size_t(area.height)) {}

    // The pixel whose lower-left corner is (x, y) in Core Image space; clear outside the extent.
    Pixel at(long x, long y) const;
    Pixel& atInside(long x, long y) {
        return pixels[size_t(extent.y + extent.height - 1 - y) * size_t(extent.width) + size_t(x - extent.x)];
    }
};

// Bitmaps are immutable once shared by an image.
using SharedBitmap = std::shared_ptr<const Bitmap>;

// 8-bit steps of a 0–1 value, rounded to the nearest.
inline unsigned char toByte(float value) {
    float clamped = value < 0 ? 0 : value > 1 ? 1 : value;
    return static_cast<unsigned char>(clamped * 255.0f + 0.5f);
}

}  // namespace coreimage
