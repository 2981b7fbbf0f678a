// Geometry of the drawing model: points, sizes, rectangles and affine transforms, in doubles.
#pragma once

#include <objc/encoding.h>

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0, y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    CGFloat width = 0, height = 0;
    bool operator==(const CGSize&) const = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
};

struct CGAffineTransform {
    CGFloat a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    bool operator==(const CGAffineTransform&) const = default;
};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) { return {x, y}; }
inline CGSize CGSizeMake(CGFloat w, CGFloat h) { return {w, h}; }
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h) { return {{x, y}, {w, h}}; }
inline CGFloat CGRectGetMinX(CGRect r) { return r.origin.x; }
inline CGFloat CGRectGetMinY(CGRect r) { return r.origin.y; }
inline CGFloat CGRectGetMaxX(CGRect r) { return r.origin.x + r.size.width; }
inline CGFloat CGRectGetMaxY(CGRect r) { return r.origin.y + r.size.height; }
inline CGFloat CGRectGetWidth(CGRect r) { return r.size.width; }
inline CGFloat CGRectGetHeight(CGRect r) { return r.size.height; }

constexpr CGPoint CGPointZero{};
constexpr CGSize CGSizeZero{};
constexpr CGRect CGRectZero{};

template <>
struct objc::StructEncoding<CGPoint> {
    static constexpr auto value = objc::text("{CGPoint=dd}");
};
template <>
struct objc::StructEncoding<CGSize> {
    static constexpr auto value = objc::text("{CGSize=dd}");
};
template <>
struct objc::StructEncoding<CGRect> {
    static constexpr auto value = objc::text("{CGRect={CGPoint=dd}{CGSize=dd}}");
};
template <>
struct objc::StructEncoding<CGAffineTransform> {
    static constexpr auto value = objc::text("{CGAffineTransform=dddddd}");
};
