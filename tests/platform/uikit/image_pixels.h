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

// The pixel at (x, y), counted in pixels from the top-left corner of the image's bitmap.
inline Pixel pixelAt(id image, int x, int y) {
    CGImageRef cgImage = static_cast<UIImage*>(image)->cgImage;
    size_t width = CGImageGetWidth(cgImage), height = CGImageGetHeight(cgImage);
    std::vector<uint8_t> rgba(width * height * 4);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextRef bitmap = CGBitmapContextCreate(rgba.data(), width, height, 8, width * 4, space,
                                                kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    CGContextSetBlendMode(bitmap, kCGBlendModeCopy);
    CGContextDrawImage(bitmap, {{0, 0}, {static_cast<double>(width), static_cast<double>(height)}}, cgImage);
    CGContextRelease(bitmap);
    CGColorSpaceRelease(space);
    const uint8_t* p = rgba.data() + (static_cast<size_t>(y) * width + static_cast<size_t>(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}

inline std::ostream& operator<<(std::ostream& out, const Pixel& p) {
    return out << "rgba(" << p.red << ", " << p.green << ", " << p.blue << ", " << p.alpha << ")";
}
