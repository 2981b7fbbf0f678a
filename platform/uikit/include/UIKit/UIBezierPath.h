// UIBezierPath: a path of lines, curves and arcs, filled, stroked or clipped to in the current context.
#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <objc/NSObject.h>

#include <vector>

// Selectors (types as sent; points in the current UIKit context's user space):
//   + bezierPath, bezierPathWithRect:(CGRect), bezierPathWithOvalInRect:(CGRect),
//     bezierPathWithRoundedRect:(CGRect)cornerRadius:(double)   the radius is limited to half the
//     shorter side, bezierPathWithArcCenter:(CGPoint)radius:(double)startAngle:(double)endAngle:(double)clockwise:(BOOL)
//   - moveToPoint:, addLineToPoint:, addCurveToPoint:controlPoint1:controlPoint2:,
//     addQuadCurveToPoint:controlPoint:, addArcWithCenter:radius:startAngle:endAngle:clockwise:,
//     closePath, removeAllPoints, appendPath:(id)
//        clockwise is as seen on screen (a top-left origin), as on the phone
//   - (BOOL)isEmpty, (CGPoint)currentPoint, (CGRect)bounds (of every point the path passes or
//     bends towards; CGRectNull when empty)
//   - (double)lineWidth (1), setLineWidth:, (BOOL)usesEvenOddFillRule, setUsesEvenOddFillRule:
//   - fill, stroke (with the current fill or stroke colour), fillWithBlendMode:(int)alpha:(double),
//     strokeWithBlendMode:(int)alpha:(double), addClip   in the current UIKit context; nothing
//     without one. fill and stroke leave the context's graphics state as they found it.
class UIBezierPath : public NSObject {
public:
    static Class class_();

    struct Element {
        enum Kind { Move, Line, Curve, Quad, Arc, Close } kind;
        // Move, Line: the point; Curve: control 1, control 2, end; Quad: control, end; Arc: the centre.
        CGPoint points[3];
        double radius = 0, startAngle = 0, endAngle = 0;
        bool clockwise = false;
    };

    std::vector<Element> elements;
    CGPoint currentPoint{};
    double lineWidth = 1;
    bool usesEvenOddFillRule = false;
};
