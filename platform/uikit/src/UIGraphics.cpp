// The per-thread stack of UIKit graphics contexts, image contexts, rectangle fills and PNG data.
#include <CoreGraphics/CGBitmapContext.h>
#include <CoreGraphics/CGImagePNG.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIScreen.h>

#include <cmath>
#include <vector>

namespace {

struct ContextEntry {
    CGContextRef context;  // owned; NULL for an image context that could not be made
    bool imageContext;
    double scale;
};

// Contexts left open when a thread ends are released with it.
struct ContextStack {
    std::vector<ContextEntry> entries;
    ~ContextStack() {
        for (auto& entry : entries) CGContextRelease(entry.context);
    }
};

ContextStack& contextStack() {
    thread_local ContextStack stack;
    return stack;
}

// Bitmaps larger than this many pixels a side are refused rather than allocated.
constexpr double kMaxPixelsPerSide = 1 << 15;

// Rounds up, ignoring the tiny excess floating-point products carry (32 × 3 is 96 pixels).
double pixelsFor(double points, double scale) { return std::ceil(points * scale - 1e-9); }

}  // namespace

CGContextRef UIGraphicsGetCurrentContext() {
    auto& entries = contextStack().entries;
    return entries.empty() ? nullptr : entries.back().context;
}

void UIGraphicsPushContext(CGContextRef context) {
    contextStack().entries.push_back({CGContextRetain(context), false, 1.0});
}

void UIGraphicsPopContext() {
    auto& entries = contextStack().entries;
    if (entries.empty()) return;
    CGContextRelease(entries.back().context);
    entries.pop_back();
}

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale) {
    if (!(scale > 0) || !std::isfinite(scale)) scale = UIScreen::mainScreenScale();
    double width = pixelsFor(size.width, scale), height = pixelsFor(size.height, scale);
    CGContextRef context = nullptr;
    if (width >= 1 && height >= 1 && width <= kMaxPixelsPerSide && height <= kMaxPixelsPerSide) {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGBitmapInfo info = (opaque ? kCGImageAlphaNoneSkipFirst : kCGImageAlphaPremultipliedFirst) | kCGBitmapByteOrder32Little;
        context = CGBitmapContextCreate(nullptr, static_cast<size_t>(width), static_cast<size_t>(height), 8, 0, space, info);
        CGColorSpaceRelease(space);
        // Points with a top-left origin, as UIKit draws.
        CGContextTranslateCTM(context, 0, height);
        CGContextScaleCTM(context, scale, -scale);
    }
    contextStack().entries.push_back({context, true, scale});
}

void UIGraphicsBeginImageContext(CGSize size) { UIGraphicsBeginImageContextWithOptions(size, false, 1.0); }

id UIGraphicsGetImageFromCurrentImageContext() {
    auto& entries = contextStack().entries;
    if (entries.empty() || !entries.back().imageContext || !entries.back().context) return nil;
    CGImageRef snapshot = CGBitmapContextCreateImage(entries.back().context);
    id image = UIImage::imageWithCGImage(snapshot, entries.back().scale, UIImageOrientationUp);
    CGImageRelease(snapshot);
    return image;
}

void UIGraphicsEndImageContext() {
    auto& entries = contextStack().entries;
    if (entries.empty() || !entries.back().imageContext) return;
    CGContextRelease(entries.back().context);
    entries.pop_back();
}

// The phone fills with the copy blend mode: the rectangle takes exactly the fill colour.
void UIRectFill(CGRect rect) { UIRectFillUsingBlendMode(rect, kCGBlendModeCopy); }

void UIRectFillUsingBlendMode(CGRect rect, CGBlendMode blendMode) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    CGContextSaveGState(context);
    CGContextSetBlendMode(context, blendMode);
    CGContextFillRect(context, rect);
    CGContextRestoreGState(context);
}

void UIRectFrame(CGRect rect) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    CGContextSaveGState(context);
    CGContextSetBlendMode(context, kCGBlendModeCopy);
    CGRect inner = CGRectInset(rect, 0.5, 0.5);
    if (!CGRectIsNull(inner)) CGContextStrokeRectWithWidth(context, inner, 1.0);
    CGContextRestoreGState(context);
}

id UIImagePNGRepresentation(id image) {
    if (!object_isKindOfClass(image, UIImage::class_())) return nil;
    CGImageRef cgImage = static_cast<UIImage*>(image)->cgImage;
    if (!cgImage) return nil;
    std::vector<uint8_t> bytes = CGImageCopyPNGData(cgImage);
    if (bytes.empty()) return nil;
    return objc::data(std::span<const std::uint8_t>(bytes));
}
