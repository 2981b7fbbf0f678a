// Reading back what UIKit drew: a pixel of an image, drawn into a bitmap in RGBA byte order.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <UIKit/UIImage.h>

#include <cstdint>
#include <ostream>
#include <vector>

struct Pixel {
    int red, green, blue, alpha;  // premultiplied, 0–255
    bool operator==(const Pixel&) const = default;
};

// An image's bitmap read back once, in RGBA byte order, rows from the top.
struct Pixels {
    std::size_t width = 0, height = 0;
    std::vector<uint8_t> rgba;

    Pixel at(int x, int y) const {
        const uint8_t* p = rgba.data() + (static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)) * 4;
        return {p[0], p[1], p[2], p[3]};
    }
};

inline Pixels pixelsOf(id image) {
    CGImageRef cgImage = static_cast<UIImage*>(image)->cgImage;
    Pixels out{CGImageGetWidth(cgImage), CGImageGetHeight(cgImage), {}};
    out.rgba.resize(out.width * out.height * 4);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef bitmap = CGBitmapContextCreate(out.rgba.data(), out.width, out.height, 8, out.width * 4, space,
                                                kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    CGContextSetBlendMode(bitmap, kCGBlendModeCopy);
    CGContextDrawImage(bitmap, {{0, 0}, {static_cast<double>(out.width), static_cast<double>(out.height)}}, cgImage);
    CGContextRelease(bitmap);
    CGColorSpaceRelease(space);
    return out;
}

// The pixel at (x, y), counted in pixels from the top-left corner of the image's bitmap.
inline Pixel pixelAt(id image, int x, int y) { return pixelsOf(image).at(x, y); }

inline std::ostream& operator<<(std::ostream& out, const Pixel& p) {
    return out << "rgba(" << p.red << ", " << p.green << ", " << p.blue << ", " << p.alpha << ")";
}
