// UIBezierPath: path elements kept in order and replayed into the current context to fill, stroke or clip.
#include "Registration.h"

#include <UIKit/UIBezierPath.h>
#include <UIKit/UIGraphics.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

Class gUIBezierPath = nullptr;

using Element = UIBezierPath::Element;
using std::numbers::pi;

// Control-point distance that makes four cubic curves a circle.
constexpr double kCircleKappa = 0.5522847498307936;

CGPoint arcPoint(CGPoint centre, double radius, double angle) {
    return {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
}

// The arc's end angle moved by whole turns so that going from start to it runs the arc's way
// (increasing angles run clockwise on a top-left-origin screen); a sweep of a turn or more is
// one full turn, as Core Graphics draws it.
double sweptEndAngle(const Element& arc) {
    double delta = arc.endAngle - arc.startAngle;
    if (!std::isfinite(delta)) return arc.startAngle;
    if (std::fabs(delta) >= 2 * pi) return arc.startAngle + (arc.clockwise ? 2 * pi : -2 * pi);
    if (arc.clockwise && delta < 0) delta += 2 * pi;
    if (!arc.clockwise && delta > 0) delta -= 2 * pi;
    return arc.startAngle + delta;
}

void append(UIBezierPath* path, Element element, CGPoint newCurrentPoint) {
    path->elements.push_back(element);
    path->currentPoint = newCurrentPoint;
}

void moveTo(UIBezierPath* path, CGPoint p) { append(path, {Element::Move, {p}}, p); }
void lineTo(UIBezierPath* path, CGPoint p) { append(path, {Element::Line, {p}}, p); }
void curveTo(UIBezierPath* path, CGPoint end, CGPoint c1, CGPoint c2) { append(path, {Element::Curve, {c1, c2, end}}, end); }

void addArc(UIBezierPath* path, CGPoint centre, double radius, double start, double end, bool clockwise) {
    Element arc{Element::Arc, {centre}};
    arc.radius = radius;
    arc.startAngle = start;
    arc.endAngle = end;
    arc.clockwise = clockwise;
    append(path, arc, arcPoint(centre, radius, end));
}

void closePath(UIBezierPath* path) {
    // The current point goes back to where the subpath began.
    CGPoint start = path->currentPoint;
    for (auto it = path->elements.rbegin(); it != path->elements.rend(); ++it)
        if (it->kind == Element::Move) {
            start = it->points[0];
            break;
        }
    append(path, {Element::Close, {}}, start);
}

void addRect(UIBezierPath* path, CGRect r) {
    r = CGRectStandardize(r);
    moveTo(path, r.origin);
    lineTo(path, {r.origin.x + r.size.width, r.origin.y});
    lineTo(path, {r.origin.x + r.size.width, r.origin.y + r.size.height});
    lineTo(path, {r.origin.x, r.origin.y + r.size.height});
    closePath(path);
}

void addOval(UIBezierPath* path, CGRect r) {
    r = CGRectStandardize(r);
    double rx = r.size.width / 2, ry = r.size.height / 2, kx = rx * kCircleKappa, ky = ry * kCircleKappa;
    CGPoint c{r.origin.x + rx, r.origin.y + ry};
    moveTo(path, {c.x + rx, c.y});
    curveTo(path, {c.x, c.y + ry}, {c.x + rx, c.y + ky}, {c.x + kx, c.y + ry});
    curveTo(path, {c.x - rx, c.y}, {c.x - kx, c.y + ry}, {c.x - rx, c.y + ky});
    curveTo(path, {c.x, c.y - ry}, {c.x - rx, c.y - ky}, {c.x - kx, c.y - ry});
    curveTo(path, {c.x + rx, c.y}, {c.x + kx, c.y - ry}, {c.x + rx, c.y - ky});
    closePath(path);
}

void addRoundedRect(UIBezierPath* path, CGRect r, double radius) {
    r = CGRectStandardize(r);
    radius = std::clamp(radius, 0.0, std::min(r.size.width, r.size.height) / 2);
    if (!(radius > 0)) return addRect(path, r);
    double left = r.origin.x, top = r.origin.y, right = left + r.size.width, bottom = top + r.size.height;
    moveTo(path, {left + radius, top});
    addArc(path, {right - radius, top + radius}, radius, -pi / 2, 0, true);
    addArc(path, {right - radius, bottom - radius}, radius, 0, pi / 2, true);
    addArc(path, {left + radius, bottom - radius}, radius, pi / 2, pi, true);
    addArc(path, {left + radius, top + radius}, radius, pi, 3 * pi / 2, true);
    closePath(path);
}

void replay(const UIBezierPath* path, CGContextRef context) {
    CGContextBeginPath(context);
    for (const Element& e : path->elements) {
        const CGPoint* p = e.points;
        switch (e.kind) {
        case Element::Move: CGContextMoveToPoint(context, p[0].x, p[0].y); break;
        case Element::Line: CGContextAddLineToPoint(context, p[0].x, p[0].y); break;
        case Element::Curve: CGContextAddCurveToPoint(context, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y); break;
        case Element::Quad: CGContextAddQuadCurveToPoint(context, p[0].x, p[0].y, p[1].x, p[1].y); break;
        // Core Graphics counts clockwise in a y-up space; on a top-left-origin screen it is the other way.
        case Element::Arc: CGContextAddArc(context, p[0].x, p[0].y, e.radius, e.startAngle, e.endAngle, e.clockwise ? 0 : 1); break;
        case Element::Close: CGContextClosePath(context); break;
        }
    }
}

CGRect boundsOf(const UIBezierPath* path) {
    if (path->elements.empty()) return CGRectNull;
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    auto include = [&](CGPoint p) {
        minX = std::min(minX, p.x), minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
    };
    for (const Element& e : path->elements) {
        switch (e.kind) {
        case Element::Move:
        case Element::Line: include(e.points[0]); break;
        case Element::Curve: std::for_each(e.points, e.points + 3, include); break;
        case Element::Quad: std::for_each(e.points, e.points + 2, include); break;
        case Element::Arc: {
            constexpr int kSamples = 64;
            double end = sweptEndAngle(e);
            for (int i = 0; i <= kSamples; ++i)
                include(arcPoint(e.points[0], e.radius, e.startAngle + (end - e.startAngle) * i / kSamples));
            break;
        }
        case Element::Close: break;
        }
    }
    return {{minX, minY}, {maxX - minX, maxY - minY}};
}

CGBlendMode blendModeFrom(int value) {
    return value >= kCGBlendModeNormal && value <= kCGBlendModePlusLighter ? static_cast<CGBlendMode>(value) : kCGBlendModeNormal;
}

void paint(UIBezierPath* self, bool stroke, CGBlendMode mode, double alpha) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) return;
    CGContextSaveGState(context);
    CGContextSetBlendMode(context, mode);
    CGContextSetAlpha(context, alpha);
    replay(self, context);
    if (stroke) {
        CGContextSetLineWidth(context, self->lineWidth);
        CGContextStrokePath(context);
    } else if (self->usesEvenOddFillRule) {
        CGContextEOFillPath(context);
    } else {
        CGContextFillPath(context);
    }
    CGContextRestoreGState(context);
}

template <auto Build, class... A>
id makePath(Class cls, A... args) {
    auto* path = static_cast<UIBezierPath*>(class_createInstance(cls));
    Build(path, args...);
    return objc::autorelease(path);
}

void nothing(UIBezierPath*) {}

}  // namespace

Class UIBezierPath::class_() { return gUIBezierPath; }

namespace platform::uikit {

void registerUIBezierPath() {
    using objc::ClassBuilder;
    gUIBezierPath =
        ClassBuilder<UIBezierPath>("UIBezierPath", NSObject::class_())
            .classMethod(sel<"bezierPath">(), [](Class cls, SEL) { return makePath<nothing>(cls); })
            .classMethod(sel<"bezierPathWithRect:">(), [](Class cls, SEL, CGRect r) { return makePath<addRect>(cls, r); })
            .classMethod(sel<"bezierPathWithOvalInRect:">(), [](Class cls, SEL, CGRect r) { return makePath<addOval>(cls, r); })
            .classMethod(sel<"bezierPathWithRoundedRect:cornerRadius:">(),
                         [](Class cls, SEL, CGRect r, double radius) { return makePath<addRoundedRect>(cls, r, radius); })
            .classMethod(sel<"bezierPathWithArcCenter:radius:startAngle:endAngle:clockwise:">(),
                         [](Class cls, SEL, CGPoint centre, double radius, double start, double end, BOOL clockwise) {
                             return makePath<addArc>(cls, centre, radius, start, end, static_cast<bool>(clockwise));
                         })
            .method(sel<"moveToPoint:">(), [](UIBezierPath* self, SEL, CGPoint p) { moveTo(self, p); })
            .method(sel<"addLineToPoint:">(), [](UIBezierPath* self, SEL, CGPoint p) { lineTo(self, p); })
            .method(sel<"addCurveToPoint:controlPoint1:controlPoint2:">(),
                    [](UIBezierPath* self, SEL, CGPoint end, CGPoint c1, CGPoint c2) { curveTo(self, end, c1, c2); })
            .method(sel<"addQuadCurveToPoint:controlPoint:">(),
                    [](UIBezierPath* self, SEL, CGPoint end, CGPoint control) { append(self, {Element::Quad, {control, end}}, end); })
            .method(sel<"addArcWithCenter:radius:startAngle:endAngle:clockwise:">(),
                    [](UIBezierPath* self, SEL, CGPoint centre, double radius, double start, double end, BOOL clockwise) {
                        addArc(self, centre, radius, start, end, clockwise);
                    })
            .method(sel<"closePath">(), [](UIBezierPath* self, SEL) { closePath(self); })
            .method(sel<"removeAllPoints">(),
                    [](UIBezierPath* self, SEL) {
                        self->elements.clear();
                        self->currentPoint = CGPointZero;
                    })
            .method(sel<"appendPath:">(),
                    [](UIBezierPath* self, SEL, UIBezierPath* other) {
                        if (!other || other->elements.empty()) return;
                        auto copied = other->elements;  // `other` may be the receiver
                        self->elements.insert(self->elements.end(), copied.begin(), copied.end());
                        self->currentPoint = other->currentPoint;
                    })
            .method(sel<"isEmpty">(), [](UIBezierPath* self, SEL) { return self->elements.empty(); })
            .method(sel<"currentPoint">(), [](UIBezierPath* self, SEL) { return self->currentPoint; })
            .method(sel<"bounds">(), [](UIBezierPath* self, SEL) { return boundsOf(self); })
            .method(sel<"lineWidth">(), [](UIBezierPath* self, SEL) { return self->lineWidth; })
            .method(sel<"setLineWidth:">(), [](UIBezierPath* self, SEL, double width) { self->lineWidth = width; })
            .method(sel<"usesEvenOddFillRule">(), [](UIBezierPath* self, SEL) { return self->usesEvenOddFillRule; })
            .method(sel<"setUsesEvenOddFillRule:">(), [](UIBezierPath* self, SEL, BOOL evenOdd) { self->usesEvenOddFillRule = evenOdd; })
            .method(sel<"fill">(), [](UIBezierPath* self, SEL) { paint(self, false, kCGBlendModeNormal, 1.0); })
            .method(sel<"stroke">(), [](UIBezierPath* self, SEL) { paint(self, true, kCGBlendModeNormal, 1.0); })
            .method(sel<"fillWithBlendMode:alpha:">(),
                    [](UIBezierPath* self, SEL, int mode, double alpha) { paint(self, false, blendModeFrom(mode), alpha); })
            .method(sel<"strokeWithBlendMode:alpha:">(),
                    [](UIBezierPath* self, SEL, int mode, double alpha) { paint(self, true, blendModeFrom(mode), alpha); })
            .method(sel<"addClip">(),
                    [](UIBezierPath* self, SEL) {
                        CGContextRef context = UIGraphicsGetCurrentContext();
                        if (!context) return;
                        replay(self, context);
                        if (self->usesEvenOddFillRule) CGContextEOClip(context);
                        else CGContextClip(context);
                    })
            .registerClass();
}

}  // namespace platform::uikit
