// The current path and clipping: path construction in user space, kept in device space, and clips by path and by mask.
#include "CGContextInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace cg {

void DevicePath::moveTo(CGPoint p) {
    // Consecutive moves collapse into one, as a lone move draws nothing.
    if (!elements.empty() && elements.back().kind == Kind::Move) elements.back().points[0] = p;
    else elements.push_back({Kind::Move, {p}});
    hasCurrentPoint = true;
    currentPoint = subpathStart = p;
}

void DevicePath::lineTo(CGPoint p) {
    if (!hasCurrentPoint) return moveTo(p);
    elements.push_back({Kind::Line, {p}});
    currentPoint = p;
}

void DevicePath::curveTo(CGPoint c1, CGPoint c2, CGPoint p) {
    if (!hasCurrentPoint) moveTo(c1);
    elements.push_back({Kind::Curve, {c1, c2, p}});
    currentPoint = p;
}

void DevicePath::close() {
    if (!hasCurrentPoint) return;
    elements.push_back({Kind::Close, {}});
    currentPoint = subpathStart;
}

void DevicePath::append(cairo_t* cr) const {
    for (const auto& e : elements) {
        switch (e.kind) {
            case Kind::Move: cairo_move_to(cr, e.points[0].x, e.points[0].y); break;
            case Kind::Line: cairo_line_to(cr, e.points[0].x, e.points[0].y); break;
            case Kind::Curve:
                cairo_curve_to(cr, e.points[0].x, e.points[0].y, e.points[1].x, e.points[1].y, e.points[2].x, e.points[2].y);
                break;
            case Kind::Close: cairo_close_path(cr); break;
        }
    }
}

DeviceBox DevicePath::bounds(double margin) const {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const auto& e : elements) {
        int count = e.kind == Kind::Curve ? 3 : e.kind == Kind::Close ? 0 : 1;
        for (int i = 0; i < count; ++i) {
            minX = std::min(minX, e.points[i].x), maxX = std::max(maxX, e.points[i].x);
            minY = std::min(minY, e.points[i].y), maxY = std::max(maxY, e.points[i].y);
        }
    }
    return DeviceBox::around(minX, minY, maxX, maxY, margin);
}

}  // namespace cg

namespace {

constexpr double kPi = 3.14159265358979323846;

// Appends an arc of `sweep` radians (negative for decreasing angles) as cubic pieces of at most a quarter turn.
void addArcSweep(CGContextRef c, CGPoint center, double radius, double start, double sweep) {
    CGPoint first{center.x + radius * std::cos(start), center.y + radius * std::sin(start)};
    if (c->path.hasCurrentPoint) c->path.lineTo(c->toDevice(first));
    else c->path.moveTo(c->toDevice(first));
    int pieces = std::max(1, int(std::ceil(std::fabs(sweep) / (kPi / 2) - 1e-9)));
    double step = sweep / pieces;
    double h = 4.0 / 3.0 * std::tan(step / 4) * radius;
    double a0 = start;
    for (int i = 0; i < pieces; ++i) {
        double a1 = a0 + step;
        CGPoint p0{center.x + radius * std::cos(a0), center.y + radius * std::sin(a0)};
        CGPoint p3{center.x + radius * std::cos(a1), center.y + radius * std::sin(a1)};
        CGPoint p1{p0.x - h * std::sin(a0), p0.y + h * std::cos(a0)};
        CGPoint p2{p3.x + h * std::sin(a1), p3.y - h * std::cos(a1)};
        c->path.curveTo(c->toDevice(p1), c->toDevice(p2), c->toDevice(p3));
        a0 = a1;
    }
}

void addClip(CGContextRef c, std::shared_ptr<const cg::DevicePath> path, bool evenOdd) {
    auto& s = c->state();
    s.clipBox = s.clipBox.intersect(path->bounds(1));
    s.clips.push_back({std::move(path), evenOdd, s.antialias()});
}

void clipToPath(CGContextRef c, bool evenOdd) {
    if (!c || c->path.empty()) return;
    addClip(c, std::make_shared<cg::DevicePath>(std::move(c->path)), evenOdd);
    c->path = {};
}

std::shared_ptr<cg::DevicePath> rectPath(CGContextRef c, const CGRect* rects, size_t count) {
    auto path = std::make_shared<cg::DevicePath>();
    for (size_t i = 0; i < count; ++i) {
        CGRect r = CGRectStandardize(rects[i]);
        if (CGRectIsNull(r)) continue;
        path->moveTo(c->toDevice(r.origin));
        path->lineTo(c->toDevice({CGRectGetMaxX(r), r.origin.y}));
        path->lineTo(c->toDevice({CGRectGetMaxX(r), CGRectGetMaxY(r)}));
        path->lineTo(c->toDevice({r.origin.x, CGRectGetMaxY(r)}));
        path->close();
    }
    return path;
}

}  // namespace

void CGContextBeginPath(CGContextRef c) {
    if (c) c->path = {};
}

void CGContextMoveToPoint(CGContextRef c, CGFloat x, CGFloat y) {
    if (c) c->path.moveTo(c->toDevice({x, y}));
}

void CGContextAddLineToPoint(CGContextRef c, CGFloat x, CGFloat y) {
    if (c) c->path.lineTo(c->toDevice({x, y}));
}

void CGContextAddCurveToPoint(CGContextRef c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x, CGFloat y) {
    if (c) c->path.curveTo(c->toDevice({cp1x, cp1y}), c->toDevice({cp2x, cp2y}), c->toDevice({x, y}));
}

void CGContextAddQuadCurveToPoint(CGContextRef c, CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y) {
    if (!c) return;
    CGPoint p0 = c->path.hasCurrentPoint ? c->toUser(c->path.currentPoint) : CGPoint{cpx, cpy};
    CGPoint c1{p0.x + 2.0 / 3.0 * (cpx - p0.x), p0.y + 2.0 / 3.0 * (cpy - p0.y)};
    CGPoint c2{x + 2.0 / 3.0 * (cpx - x), y + 2.0 / 3.0 * (cpy - y)};
    c->path.curveTo(c->toDevice(c1), c->toDevice(c2), c->toDevice({x, y}));
}

void CGContextAddArcToPoint(CGContextRef c, CGFloat x1, CGFloat y1, CGFloat x2, CGFloat y2, CGFloat radius) {
    if (!c) return;
    if (!c->path.hasCurrentPoint) c->path.moveTo(c->toDevice({x1, y1}));
    CGPoint p0 = c->toUser(c->path.currentPoint);
    double ux = p0.x - x1, uy = p0.y - y1, vx = x2 - x1, vy = y2 - y1;
    double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
    double cross = ux * vy - uy * vx;
    if (radius <= 0 || lu == 0 || lv == 0 || std::fabs(cross) < 1e-12 * lu * lv) {
        c->path.lineTo(c->toDevice({x1, y1}));
        return;
    }
    ux /= lu, uy /= lu, vx /= lv, vy /= lv;
    double halfAngle = std::acos(std::clamp(ux * vx + uy * vy, -1.0, 1.0)) / 2;
    double along = radius / std::tan(halfAngle);
    CGPoint t1{x1 + ux * along, y1 + uy * along}, t2{x1 + vx * along, y1 + vy * along};
    double bx = ux + vx, by = uy + vy, lb = std::hypot(bx, by);
    double toCenter = radius / std::sin(halfAngle);
    CGPoint center{x1 + bx / lb * toCenter, y1 + by / lb * toCenter};
    double a0 = std::atan2(t1.y - center.y, t1.x - center.x), a1 = std::atan2(t2.y - center.y, t2.x - center.x);
    double sweep = a1 - a0;
    while (sweep > kPi) sweep -= 2 * kPi;
    while (sweep < -kPi) sweep += 2 * kPi;
    addArcSweep(c, center, radius, a0, sweep);
}

void CGContextAddArc(CGContextRef c, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle, CGFloat endAngle, int clockwise) {
    if (!c || radius < 0) return;
    double sweep = endAngle - startAngle;
    // Angles grow counter-clockwise in the y-up space; "clockwise" walks them downwards.
    if (clockwise) {
        if (sweep > 0) sweep -= 2 * kPi * std::ceil(sweep / (2 * kPi));
    } else {
        if (sweep < 0) sweep += 2 * kPi * std::ceil(-sweep / (2 * kPi));
    }
    addArcSweep(c, {x, y}, radius, startAngle, sweep);
}

void CGContextAddRect(CGContextRef c, CGRect rect) { CGContextAddRects(c, &rect, 1); }

void CGContextAddRects(CGContextRef c, const CGRect* rects, size_t count) {
    if (!c || !rects) return;
    auto path = rectPath(c, rects, count);
    c->path.elements.insert(c->path.elements.end(), path->elements.begin(), path->elements.end());
    if (path->hasCurrentPoint) {
        c->path.hasCurrentPoint = true;
        c->path.currentPoint = path->currentPoint, c->path.subpathStart = path->subpathStart;
    }
}

void CGContextAddLines(CGContextRef c, const CGPoint* points, size_t count) {
    if (!c || !points || count == 0) return;
    CGContextMoveToPoint(c, points[0].x, points[0].y);
    for (size_t i = 1; i < count; ++i) CGContextAddLineToPoint(c, points[i].x, points[i].y);
}

void CGContextAddEllipseInRect(CGContextRef c, CGRect rect) {
    if (!c) return;
    rect = CGRectStandardize(rect);
    if (CGRectIsNull(rect)) return;
    const double k = 0.5522847498307936;
    double cx = CGRectGetMidX(rect), cy = CGRectGetMidY(rect), rx = rect.size.width / 2, ry = rect.size.height / 2;
    auto d = [&](double x, double y) { return c->toDevice({x, y}); };
    c->path.moveTo(d(cx + rx, cy));
    c->path.curveTo(d(cx + rx, cy + k * ry), d(cx + k * rx, cy + ry), d(cx, cy + ry));
    c->path.curveTo(d(cx - k * rx, cy + ry), d(cx - rx, cy + k * ry), d(cx - rx, cy));
    c->path.curveTo(d(cx - rx, cy - k * ry), d(cx - k * rx, cy - ry), d(cx, cy - ry));
    c->path.curveTo(d(cx + k * rx, cy - ry), d(cx + rx, cy - k * ry), d(cx + rx, cy));
    c->path.close();
}

void CGContextClosePath(CGContextRef c) {
    if (c) c->path.close();
}

bool CGContextIsPathEmpty(CGContextRef c) { return !c || c->path.empty(); }

CGPoint CGContextGetPathCurrentPoint(CGContextRef c) {
    if (!c || !c->path.hasCurrentPoint) return CGPointZero;
    return c->toUser(c->path.currentPoint);
}

CGRect CGContextGetPathBoundingBox(CGContextRef c) {
    if (!c || c->path.empty()) return CGRectNull;
    CGRect box = CGRectNull;
    for (const auto& e : c->path.elements) {
        int count = e.kind == cg::DevicePath::Kind::Curve ? 3 : e.kind == cg::DevicePath::Kind::Close ? 0 : 1;
        for (int i = 0; i < count; ++i) box = CGRectUnion(box, CGRect{c->toUser(e.points[i]), {0, 0}});
    }
    return box;
}

void CGContextClip(CGContextRef c) { clipToPath(c, false); }

void CGContextEOClip(CGContextRef c) { clipToPath(c, true); }

void CGContextClipToRect(CGContextRef c, CGRect rect) { CGContextClipToRects(c, &rect, 1); }

void CGContextClipToRects(CGContextRef c, const CGRect* rects, size_t count) {
    if (!c || !rects) return;
    auto path = rectPath(c, rects, count);
    // Clipping to nothing leaves nothing to paint.
    if (path->empty()) c->state().clipBox = {};
    else addClip(c, std::move(path), false);
}

namespace {

// A mask with alpha placed pixel for pixel (upright or upside down, at a whole-pixel offset)
// gives its alpha bytes straight to the coverage rows, which a transformed paint through Cairo
// would only resample one for one. `coverage` is cleared and device sized.
bool copyAlphaPixelForPixel(cairo_surface_t* coverage, const cairo_matrix_t& placement, CGImageRef mask) {
    std::optional<cg::PixelForPixel> exact = cg::pixelForPixel(placement);
    if (!exact || cairo_image_surface_get_format(mask->surface) != CAIRO_FORMAT_ARGB32) return false;

    cairo_surface_flush(mask->surface);
    const uint8_t* from = cairo_image_surface_get_data(mask->surface);
    uint8_t* to = cairo_image_surface_get_data(coverage);
    long maskWidth = cairo_image_surface_get_width(mask->surface), maskHeight = cairo_image_surface_get_height(mask->surface);
    if (!from || !to || size_t(maskWidth) != mask->width || size_t(maskHeight) != mask->height) return false;
    size_t fromStride = size_t(cairo_image_surface_get_stride(mask->surface));
    size_t toStride = size_t(cairo_image_surface_get_stride(coverage));
    long width = cairo_image_surface_get_width(coverage), height = cairo_image_surface_get_height(coverage);
    long dx = exact->left, dy = exact->top;
    bool upright = exact->upright;
    long firstX = std::max(0L, dx), endX = std::min(width, dx + maskWidth);
    // Upright, mask row v lands on device row dy + v; upside down, on dy - 1 - v.
    long firstY = std::max(0L, upright ? dy : dy - maskHeight), endY = std::min(height, upright ? dy + maskHeight : dy);
    for (long y = firstY; y < endY; ++y) {
        long v = upright ? y - dy : dy - 1 - y;
        const auto* source = reinterpret_cast<const uint32_t*>(from + size_t(v) * fromStride);
        uint8_t* target = to + size_t(y) * toStride;
        for (long x = firstX; x < endX; ++x) target[x] = uint8_t(source[x - dx] >> 24);
    }
    cairo_surface_mark_dirty(coverage);
    return true;
}

}  // namespace

void CGContextClipToMask(CGContextRef c, CGRect rect, CGImageRef mask) {
    if (!c || !mask) return;
    auto& s = c->state();
    rect = CGRectStandardize(rect);
    cg::DeviceBox reach = rectPath(c, &rect, 1)->bounds(1);
    s.clipBox = s.clipBox.intersect(reach);
    if (CGRectIsEmpty(rect)) return;

    cairo_surface_t* combined = cairo_image_surface_create(CAIRO_FORMAT_A8, int(c->width), int(c->height));
    // The mask is placed as an image is drawn: its first row at the top of the rectangle.
    cairo_matrix_t placement = c->placement(rect, mask->width, mask->height);
    cairo_t* cr = cairo_create(combined);
    if (!copyAlphaPixelForPixel(combined, placement, mask)) {
        // Painting an ARGB32 surface into A8 keeps its alpha, which is the coverage; other masks
        // are converted first.
        cairo_surface_t* coverage = cairo_image_surface_get_format(mask->surface) == CAIRO_FORMAT_ARGB32
                                        ? cairo_surface_reference(mask->surface)
                                        : cg::maskCoverage(mask);
        cairo_set_matrix(cr, &placement);
        cairo_set_source_surface(cr, coverage, 0, 0);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_rectangle(cr, 0, 0, double(mask->width), double(mask->height));
        cairo_fill(cr);
        cairo_surface_destroy(coverage);
    }
    if (s.mask) {
        cairo_identity_matrix(cr);
        cairo_set_source_surface(cr, s.mask.get(), 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_IN);
        cairo_paint(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(combined);
    s.mask = std::shared_ptr<cairo_surface_t>(combined, cairo_surface_destroy);
}

CGRect CGContextGetClipBoundingBox(CGContextRef c) {
    if (!c) return CGRectZero;
    const auto& box = c->state().clipBox;
    if (box.empty()) return CGRectNull;
    cairo_matrix_t m = c->deviceMatrix();
    if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return CGRectNull;
    CGRect bounds = CGRectNull;
    for (auto [x, y] : {std::pair{box.x0, box.y0}, {box.x1, box.y0}, {box.x0, box.y1}, {box.x1, box.y1}}) {
        double ux = x, uy = y;
        cairo_matrix_transform_point(&m, &ux, &uy);
        bounds = CGRectUnion(bounds, CGRect{{ux, uy}, {0, 0}});
    }
    return bounds;
}
