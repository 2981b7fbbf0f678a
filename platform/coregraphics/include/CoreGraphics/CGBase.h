// Basic types shared by every Core Graphics header: opaque references and bitmap descriptions.
#pragma once

#include <CoreGraphics/CGGeometry.h>

#include <cstddef>
#include <cstdint>

// Opaque, reference-counted values. Each type has its own Retain/Release pair (NULL-safe);
// Create/Copy functions return a reference the caller owns, Get functions borrow.
typedef struct CGColorSpace* CGColorSpaceRef;
typedef struct CGColor* CGColorRef;
typedef struct CGImage* CGImageRef;
typedef struct CGContext* CGContextRef;
typedef struct CGDataProvider* CGDataProviderRef;

typedef uint32_t CGBitmapInfo;

enum CGImageAlphaInfo : uint32_t {
    kCGImageAlphaNone = 0,
    kCGImageAlphaPremultipliedLast = 1,
    kCGImageAlphaPremultipliedFirst = 2,
    kCGImageAlphaLast = 3,
    kCGImageAlphaFirst = 4,
    kCGImageAlphaNoneSkipLast = 5,
    kCGImageAlphaNoneSkipFirst = 6,
    kCGImageAlphaOnly = 7,
};

// Plain constants rather than an enum, so that `kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big`
// combines without mixing enumeration types.
constexpr CGBitmapInfo kCGBitmapAlphaInfoMask = 0x1F;
constexpr CGBitmapInfo kCGBitmapFloatComponents = 1u << 8;
constexpr CGBitmapInfo kCGBitmapByteOrderMask = 0x7000;
constexpr CGBitmapInfo kCGBitmapByteOrderDefault = 0u << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder16Little = 1u << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder32Little = 2u << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder16Big = 3u << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder32Big = 4u << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder16Host = kCGBitmapByteOrder16Little;
constexpr CGBitmapInfo kCGBitmapByteOrder32Host = kCGBitmapByteOrder32Little;

enum CGColorRenderingIntent : int32_t {
    kCGRenderingIntentDefault = 0,
    kCGRenderingIntentAbsoluteColorimetric,
    kCGRenderingIntentRelativeColorimetric,
    kCGRenderingIntentPerceptual,
    kCGRenderingIntentSaturation,
};
