// Drawing contexts: the graphics state stack, paths, clipping and painting.
//
// User space follows the phone: in a fresh bitmap context the origin is the bottom-left corner and
// y grows upwards, one unit per pixel. CGContextDrawImage puts an image's first row at the top
// (largest y) of the rectangle in user space, so in a context whose CTM was flipped to a top-left
// origin the image appears upside down. Path coordinates are fixed in device space when they are
// added (the current path is not part of the graphics state and survives RestoreGState).
#pragma once

#include <CoreGraphics/CGAffineTransform.h>
#include <CoreGraphics/CGColor.h>
#include <CoreGraphics/CGImage.h>

enum CGBlendMode : int32_t {
    kCGBlendModeNormal = 0,
    kCGBlendModeMultiply,
    kCGBlendModeScreen,
    kCGBlendModeOverlay,
    kCGBlendModeDarken,
    kCGBlendModeLighten,
    kCGBlendModeColorDodge,
    kCGBlendModeColorBurn,
    kCGBlendModeSoftLight,
    kCGBlendModeHardLight,
    kCGBlendModeDifference,
    kCGBlendModeExclusion,
    kCGBlendModeHue,
    kCGBlendModeSaturation,
    kCGBlendModeColor,
    kCGBlendModeLuminosity,
    kCGBlendModeClear,
    kCGBlendModeCopy,
    kCGBlendModeSourceIn,
    kCGBlendModeSourceOut,
    kCGBlendModeSourceAtop,
    kCGBlendModeDestinationOver,
    kCGBlendModeDestinationIn,
    kCGBlendModeDestinationOut,
    kCGBlendModeDestinationAtop,
    kCGBlendModeXOR,
    kCGBlendModePlusDarker,
    kCGBlendModePlusLighter,
};

enum CGInterpolationQuality : int32_t {
    kCGInterpolationDefault = 0,
    kCGInterpolationNone = 1,
    kCGInterpolationLow = 2,
    kCGInterpolationHigh = 3,
    kCGInterpolationMedium = 4,
};

enum CGLineCap : int32_t { kCGLineCapButt, kCGLineCapRound, kCGLineCapSquare };
enum CGLineJoin : int32_t { kCGLineJoinMiter, kCGLineJoinRound, kCGLineJoinBevel };
enum CGPathDrawingMode : int32_t {
    kCGPathFill,
    kCGPathEOFill,
    kCGPathStroke,
    kCGPathFillStroke,
    kCGPathEOFillStroke,
};

CGContextRef CGContextRetain(CGContextRef c);
void CGContextRelease(CGContextRef c);

// Graphics state. Every call below is a no-op (or answers zero) for a NULL context.
void CGContextSaveGState(CGContextRef c);
// Restoring with nothing saved is ignored.
void CGContextRestoreGState(CGContextRef c);
void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty);
void CGContextScaleCTM(CGContextRef c, CGFloat sx, CGFloat sy);
void CGContextRotateCTM(CGContextRef c, CGFloat angle);
void CGContextConcatCTM(CGContextRef c, CGAffineTransform transform);
// The user-to-device transform, device space having its origin at the bottom-left.
CGAffineTransform CGContextGetCTM(CGContextRef c);
void CGContextSetLineWidth(CGContextRef c, CGFloat width);
void CGContextSetLineCap(CGContextRef c, CGLineCap cap);
void CGContextSetLineJoin(CGContextRef c, CGLineJoin join);
void CGContextSetMiterLimit(CGContextRef c, CGFloat limit);
// Global alpha, clamped to 0–1; multiplies every painting operation.
void CGContextSetAlpha(CGContextRef c, CGFloat alpha);
void CGContextSetBlendMode(CGContextRef c, CGBlendMode mode);
void CGContextSetShouldAntialias(CGContextRef c, bool shouldAntialias);
void CGContextSetAllowsAntialiasing(CGContextRef c, bool allowsAntialiasing);
void CGContextSetInterpolationQuality(CGContextRef c, CGInterpolationQuality quality);
CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef c);

// Colours. A NULL colour is ignored. A colour space change resets the colour to opaque black
// (grey, RGB) as on the phone; SetFillColor reads the space's component count plus alpha.
void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color);
void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color);
void CGContextSetFillColorSpace(CGContextRef c, CGColorSpaceRef space);
void CGContextSetStrokeColorSpace(CGContextRef c, CGColorSpaceRef space);
void CGContextSetFillColor(CGContextRef c, const CGFloat* components);
void CGContextSetStrokeColor(CGContextRef c, const CGFloat* components);
void CGContextSetRGBFillColor(CGContextRef c, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
void CGContextSetRGBStrokeColor(CGContextRef c, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
void CGContextSetGrayFillColor(CGContextRef c, CGFloat gray, CGFloat alpha);
void CGContextSetGrayStrokeColor(CGContextRef c, CGFloat gray, CGFloat alpha);

// Path construction, in user space.
void CGContextBeginPath(CGContextRef c);
void CGContextMoveToPoint(CGContextRef c, CGFloat x, CGFloat y);
void CGContextAddLineToPoint(CGContextRef c, CGFloat x, CGFloat y);
void CGContextAddCurveToPoint(CGContextRef c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y,
                              CGFloat x, CGFloat y);
void CGContextAddQuadCurveToPoint(CGContextRef c, CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y);
// Tangent arc through the corner (x1, y1) towards (x2, y2); a line to (x1, y1) when degenerate.
void CGContextAddArcToPoint(CGContextRef c, CGFloat x1, CGFloat y1, CGFloat x2, CGFloat y2, CGFloat radius);
// `clockwise` is 1 for clockwise in a y-up space, as on the phone.
void CGContextAddArc(CGContextRef c, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle,
                     CGFloat endAngle, int clockwise);
void CGContextAddRect(CGContextRef c, CGRect rect);
void CGContextAddRects(CGContextRef c, const CGRect* rects, size_t count);
void CGContextAddLines(CGContextRef c, const CGPoint* points, size_t count);
void CGContextAddEllipseInRect(CGContextRef c, CGRect rect);
void CGContextClosePath(CGContextRef c);
bool CGContextIsPathEmpty(CGContextRef c);
// In user space; CGPointZero when there is no current point.
CGPoint CGContextGetPathCurrentPoint(CGContextRef c);
// Bounding box of the control points in user space; CGRectNull for an empty path.
CGRect CGContextGetPathBoundingBox(CGContextRef c);

// Clipping: intersects the clip with the current path (then clears the path), a rectangle or a mask.
void CGContextClip(CGContextRef c);
void CGContextEOClip(CGContextRef c);
void CGContextClipToRect(CGContextRef c, CGRect rect);
void CGContextClipToRects(CGContextRef c, const CGRect* rects, size_t count);
// The mask is placed like CGContextDrawImage places an image. Its alpha (or, for images without
// alpha, its grey value; for image masks, the inverse of the sample) is the coverage; outside
// `rect` nothing is painted.
void CGContextClipToMask(CGContextRef c, CGRect rect, CGImageRef mask);
// User-space bounds of the clip.
CGRect CGContextGetClipBoundingBox(CGContextRef c);

// Painting. Fill and stroke consume the current path.
void CGContextFillPath(CGContextRef c);
void CGContextEOFillPath(CGContextRef c);
void CGContextStrokePath(CGContextRef c);
void CGContextDrawPath(CGContextRef c, CGPathDrawingMode mode);
void CGContextFillRect(CGContextRef c, CGRect rect);
void CGContextFillRects(CGContextRef c, const CGRect* rects, size_t count);
void CGContextStrokeRect(CGContextRef c, CGRect rect);
void CGContextStrokeRectWithWidth(CGContextRef c, CGRect rect, CGFloat width);
void CGContextFillEllipseInRect(CGContextRef c, CGRect rect);
void CGContextStrokeEllipseInRect(CGContextRef c, CGRect rect);
void CGContextStrokeLineSegments(CGContextRef c, const CGPoint* points, size_t count);
// Makes the rectangle transparent (within the clip), whatever the blend mode and alpha.
void CGContextClearRect(CGContextRef c, CGRect rect);
// Image masks and alpha-only images paint the fill colour through their coverage.
void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image);
// Tiles the image from rect's origin with rect's size as the tile, rows placed as DrawImage does.
void CGContextDrawTiledImage(CGContextRef c, CGRect rect, CGImageRef image);
