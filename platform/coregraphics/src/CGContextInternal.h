// What a context reference points at: the bitmap, the graphics state stack, the current path and the painting core.
#pragma once

#include "CGObjects.h"

#include <CoreGraphics/CGBitmapContext.h>

#include <cairo.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace cg {

// Integer pixel box in Cairo device space (origin top-left, y down); x1/y1 exclusive.
struct DeviceBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    DeviceBox intersect(const DeviceBox& o) const;
    // The pixels touched by a box of real coordinates, grown by `margin`.
    static DeviceBox around(double minX, double minY, double maxX, double maxY, double margin);
};

// Path elements with points already in Cairo device space, so the path outlives CTM changes.
struct DevicePath {
    enum class Kind : uint8_t { Move, Line, Curve, Close };
    struct Element {
        Kind kind;
        CGPoint points[3];
    };
    std::vector<Element> elements;
    bool hasCurrentPoint = false;
    CGPoint currentPoint, subpathStart;

    bool empty() const { return elements.empty(); }
    void moveTo(CGPoint p);
    void lineTo(CGPoint p);
    void curveTo(CGPoint c1, CGPoint c2, CGPoint p);
    void close();
    // Replays the path into cr, whose matrix must be the identity.
    void append(cairo_t* cr) const;
    // Box of all points, control points included; empty box for an empty path.
    DeviceBox bounds(double margin) const;
};

struct ClipPath {
    std::shared_ptr<const DevicePath> path;
    bool evenOdd = false;
    bool antialias = true;
};

// A fill or stroke colour: a solid RGBA colour (grey colours widened to RGB) or a pattern image.
struct Paint {
    double red = 0, green = 0, blue = 0, alpha = 1;
    Ref<CGImage> pattern;
    Ref<CGColorSpace> space;
};

struct GState {
    CGAffineTransform ctm;
    std::vector<ClipPath> clips;
    std::shared_ptr<cairo_surface_t> mask;  // A8 coverage of mask clips, device sized; null when none
    DeviceBox clipBox;
    Paint fill, stroke;
    double lineWidth = 1, miterLimit = 10;
    CGLineCap lineCap = kCGLineCapButt;
    CGLineJoin lineJoin = kCGLineJoinMiter;
    double alpha = 1;
    CGBlendMode blendMode = kCGBlendModeNormal;
    bool shouldAntialias = true, allowsAntialiasing = true;
    CGInterpolationQuality interpolation = kCGInterpolationDefault;

    bool antialias() const { return shouldAntialias && allowsAntialiasing; }
};

// One painting operation handed to the painting core.
struct Operation {
    // Adds the covered area to cr's path; cr's matrix is the identity on entry and must be left so.
    std::function<void(cairo_t*)> appendShape;
    // Sets cr's source. A solid source carries the global alpha in its colour already.
    std::function<void(cairo_t*)> setSource;
    bool solidSource = true;
    bool stroke = false;     // stroke the shape with the state's line settings instead of filling it
    bool evenOdd = false;
    bool clear = false;      // CGContextClearRect: ignores blend mode and alpha
    // Free drawing (CGContextDrawWithCairo) instead of shape and source.
    std::function<void(cairo_t*)> custom;
    DeviceBox bounds;        // pixels the operation can reach
};

cairo_matrix_t deviceMatrix(const CGAffineTransform& ctm, size_t height);

// A placement of picture pixels on device pixels that maps them one to one: the picture's first
// row and column start at device pixel (left, top), and its rows run down the device (upright)
// or up it from the row above `top` (upside down).
struct PixelForPixel {
    long left = 0, top = 0;
    bool upright = true;
};
// Nothing when the placement scales, turns, mirrors columns, lands between pixels (beyond the
// rounding that points to pixels leave) or lies far outside any surface.
std::optional<PixelForPixel> pixelForPixel(const cairo_matrix_t& placement);

}  // namespace cg

struct CGContext : cg::RefCounted {
    size_t width = 0, height = 0, bitsPerComponent = 8, bitsPerPixel = 32, bytesPerRow = 0;
    CGBitmapInfo bitmapInfo = 0;
    cg::Ref<CGColorSpace> space;
    cg::PixelLayout layout;

    // The caller's bytes, or ours once asked for; null while nobody has asked.
    uint8_t* data = nullptr;
    std::unique_ptr<uint8_t[]> ownedData;
    // Cairo draws straight into `data`.
    bool direct = false;
    // `data` is a converted copy of the surface, brought up to date after every drawing call.
    bool mirrored = false;
    // What the surface's memory still lacks: its clearing, or the caller's pixels. Both wait for
    // the first call that reads or draws into the surface (settle()), as a picture drawn over
    // every pixel may make them unnecessary.
    enum class Pending { Nothing, Clearing, CallerPixels };
    Pending pending = Pending::Nothing;

    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    // Reference count of `surface` when no snapshot shares it.
    unsigned baseReferences = 0;

    std::vector<cg::GState> states;
    cg::DevicePath path;

    ~CGContext() override;

    cg::GState& state() { return states.back(); }
    const cg::GState& state() const { return states.back(); }
    cairo_matrix_t deviceMatrix() const { return cg::deviceMatrix(state().ctm, height); }
    // Picture pixels (width × height, first row at the top) to device, drawn into `rect`.
    cairo_matrix_t placement(CGRect rect, size_t pictureWidth, size_t pictureHeight) const;
    CGPoint toDevice(CGPoint user) const;
    CGPoint toUser(CGPoint device) const;
    cg::DeviceBox fullBox() const { return {0, 0, int(width), int(height)}; }

    // Clears the surface or takes in the caller's bytes, when still pending.
    void settle();
    // Whether a row of the caller's bytes is all zero (cleared).
    bool callerRowClear(size_t row) const;
    // Gives snapshots that share the surface their own pixels before the context draws again.
    void detachSnapshots();
    void render(const cg::Operation& operation);
    // Brings the caller's bytes up to date over `box`.
    void publish(const cg::DeviceBox& box);
};
