// UIColor(Tarnwick) image analysis: the main colours of an image, its average colour, and the light and white tests.
#include "UIColor+TarnwickAnalysis.h"

#include "ColourVotes.h"
#include "UIColor+Tarnwick.h"

#include <CoreGraphics/CGBitmapContext.h>
#include <Foundation/Foundation.h>
#include <objc/Strong.h>
#include <objc/message.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace {

using ContextRef = std::unique_ptr<CGContext, decltype([](CGContextRef c) { CGContextRelease(c); })>;
using ColorSpaceRef = std::unique_ptr<CGColorSpace, decltype([](CGColorSpaceRef s) { CGColorSpaceRelease(s); })>;

constexpr CGBitmapInfo kRGBA = kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big;

CGImageRef cgImageOf(id image) { return msg<CGImageRef>(image, sel<"CGImage">()); }

id colorWithRGBA(double red, double green, double blue, double alpha) {
    return msg<id>(objc_getClass("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), red, green, blue, alpha);
}

// Draws the image into a width × height premultiplied R,G,B,A bitmap over `pixels`.
void drawInto(std::uint8_t* pixels, std::size_t width, std::size_t height, CGImageRef image) {
    ColorSpaceRef rgb(CGColorSpaceCreateDeviceRGB());
    ContextRef context(CGBitmapContextCreate(pixels, width, height, 8, width * 4, rgb.get(), kRGBA));
    CGContextDrawImage(context.get(), CGRectMake(0, 0, double(width), double(height)), image);
}

// The whole bitmap of the image with the copy blend, so that every byte is the image's own.
// The image's colour space is used where it forms an RGBA bitmap; grey images, which cannot,
// are read through device RGB instead of leaving the buffer unwritten. Empty for an image
// without pixels or too large to hold.
std::vector<std::uint8_t> wholeImagePixels(CGImageRef image) {
    std::size_t width = CGImageGetWidth(image), height = CGImageGetHeight(image);
    if (width == 0 || height == 0 || height > std::numeric_limits<std::size_t>::max() / 4 / width) return {};
    std::vector<std::uint8_t> pixels(width * height * 4);
    ContextRef context(CGBitmapContextCreate(pixels.data(), width, height, 8, width * 4, CGImageGetColorSpace(image), kRGBA));
    if (!context) {
        ColorSpaceRef rgb(CGColorSpaceCreateDeviceRGB());
        context.reset(CGBitmapContextCreate(pixels.data(), width, height, 8, width * 4, rgb.get(), kRGBA));
    }
    CGContextSetBlendMode(context.get(), kCGBlendModeCopy);
    CGContextDrawImage(context.get(), CGRectMake(0, 0, double(width), double(height)), image);
    return pixels;
}

}  // namespace

id mainColoursInImage(id image, int detail, const MainColoursProgress& progress) {
    const tweakutils::ColourVoteLevel level = tweakutils::colourVoteLevel(detail);
    std::vector<std::uint8_t> samples(std::size_t(level.grid) * level.grid * 4, 0);
    drawInto(samples.data(), level.grid, level.grid, cgImageOf(image));
    std::vector<tweakutils::ColourVote> votes = tweakutils::mainColourVotes(samples, level, progress);

    float total = 0;
    for (const auto& vote : votes) total += float(vote.votes);
    id colours = msg<id>(objc_getClass("NSMutableDictionary"), sel<"dictionary">());
    for (const auto& vote : votes) {
        id colour = colorWithRGBA(float(vote.red) / 255.0f, float(vote.green) / 255.0f, float(vote.blue) / 255.0f, 1.0);
        id share = msg<id>(objc_getClass("NSNumber"), sel<"numberWithFloat:">(), float(vote.votes) / total);
        msg<void>(colours, sel<"setObject:forKey:">(), share, colour);
    }
    return colours;
}

id averageColorForImage(id image) {
    // Cleared first: what lies under the image's transparent parts is clear black.
    std::uint8_t pixel[4] = {0, 0, 0, 0};
    drawInto(pixel, 1, 1, cgImageOf(image));
    if (pixel[3] != 0) {
        double m = (pixel[3] / 255.0) / 255.0;
        return colorWithRGBA(pixel[0] * m, pixel[1] * m, pixel[2] * m, pixel[3] / 255.0);
    }
    return colorWithRGBA(pixel[0] / 255.0, pixel[1] / 255.0, pixel[2] / 255.0, 0.0);
}

BOOL imageIsLightColor(id image) {
    std::vector<std::uint8_t> pixels = wholeImagePixels(cgImageOf(image));
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        objc::AutoreleasePool pool;
        float red = pixels[i] / 255.0f, green = pixels[i + 1] / 255.0f, blue = pixels[i + 2] / 255.0f,
              alpha = pixels[i + 3] / 255.0f;
        id hex = objc::format("#%02lX%02lX%02lX%02lX", std::lround(red * 255.0f), std::lround(green * 255.0f),
                              std::lround(blue * 255.0f), std::lround(alpha * 255.0f));
        NSLog("%@ red: %f green: %f, blue:%f alpha: %f HEX:%@", image, double(red), double(green), double(blue),
              double(alpha), hex);
        if (!isLightColor(colorWithRGBA(red, green, blue, alpha))) return NO;
    }
    return YES;
}

BOOL imageIsAllWhite(id image) {
    std::vector<std::uint8_t> pixels = wholeImagePixels(cgImageOf(image));
    for (std::uint8_t byte : pixels)
        if (byte != 255) return NO;
    return YES;
}
