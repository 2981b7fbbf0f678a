// Geometry of the drawing model: points, sizes, rectangles and affine transforms, in doubles.
#pragma once

#include <objc/encoding.h>

#include <cmath>
#include <limits>

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
// The empty set of points: the result of intersecting rectangles that do not meet.
constexpr CGRect CGRectNull{{std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()}, {0, 0}};

inline bool CGPointEqualToPoint(CGPoint a, CGPoint b) { return a == b; }
inline bool CGSizeEqualToSize(CGSize a, CGSize b) { return a == b; }
inline bool CGRectIsNull(CGRect r) { return std::isinf(r.origin.x) || std::isinf(r.origin.y); }
// A rectangle with non-negative width and height covering the same area.
inline CGRect CGRectStandardize(CGRect r) {
    if (CGRectIsNull(r)) return r;
    if (r.size.width < 0) r.origin.x += r.size.width, r.size.width = -r.size.width;
    if (r.size.height < 0) r.origin.y += r.size.height, r.size.height = -r.size.height;
    return r;
}
inline bool CGRectIsEmpty(CGRect r) { return CGRectIsNull(r) || r.size.width == 0 || r.size.height == 0; }
inline bool CGRectEqualToRect(CGRect a, CGRect b) {
    if (CGRectIsNull(a) || CGRectIsNull(b)) return CGRectIsNull(a) && CGRectIsNull(b);
    return CGRectStandardize(a) == CGRectStandardize(b);
}
inline CGFloat CGRectGetMidX(CGRect r) { return r.origin.x + r.size.width / 2; }
inline CGFloat CGRectGetMidY(CGRect r) { return r.origin.y + r.size.height / 2; }
inline CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(r)) return r;
    return {{r.origin.x + dx, r.origin.y + dy}, r.size};
}
// CGRectNull when the inset removes the whole rectangle.
inline CGRect CGRectInset(CGRect r, CGFloat dx, CGFloat dy) {
    r = CGRectStandardize(r);
    if (CGRectIsNull(r) || r.size.width < 2 * dx || r.size.height < 2 * dy) return CGRectNull;
    return {{r.origin.x + dx, r.origin.y + dy}, {r.size.width - 2 * dx, r.size.height - 2 * dy}};
}
inline CGRect CGRectIntersection(CGRect a, CGRect b) {
    a = CGRectStandardize(a), b = CGRectStandardize(b);
    if (CGRectIsNull(a) || CGRectIsNull(b)) return CGRectNull;
    CGFloat x0 = std::fmax(a.origin.x, b.origin.x), y0 = std::fmax(a.origin.y, b.origin.y);
    CGFloat x1 = std::fmin(a.origin.x + a.size.width, b.origin.x + b.size.width);
    CGFloat y1 = std::fmin(a.origin.y + a.size.height, b.origin.y + b.size.height);
    if (x1 < x0 || y1 < y0) return CGRectNull;
    return {{x0, y0}, {x1 - x0, y1 - y0}};
}
inline CGRect CGRectUnion(CGRect a, CGRect b) {
    a = CGRectStandardize(a), b = CGRectStandardize(b);
    if (CGRectIsNull(a)) return b;
    if (CGRectIsNull(b)) return a;
    CGFloat x0 = std::fmin(a.origin.x, b.origin.x), y0 = std::fmin(a.origin.y, b.origin.y);
    CGFloat x1 = std::fmax(a.origin.x + a.size.width, b.origin.x + b.size.width);
    CGFloat y1 = std::fmax(a.origin.y + a.size.height, b.origin.y + b.size.height);
    return {{x0, y0}, {x1 - x0, y1 - y0}};
}
// The smallest rectangle with integer coordinates that contains r.
inline CGRect CGRectIntegral(CGRect r) {
    r = CGRectStandardize(r);
    if (CGRectIsNull(r)) return r;
    CGFloat x0 = std::floor(r.origin.x), y0 = std::floor(r.origin.y);
    CGFloat x1 = std::ceil(r.origin.x + r.size.width), y1 = std::ceil(r.origin.y + r.size.height);
    return {{x0, y0}, {x1 - x0, y1 - y0}};
}
inline bool CGRectContainsPoint(CGRect r, CGPoint p) {
    r = CGRectStandardize(r);
    return !CGRectIsNull(r) && p.x >= r.origin.x && p.x < r.origin.x + r.size.width && p.y >= r.origin.y &&
           p.y < r.origin.y + r.size.height;
}

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
