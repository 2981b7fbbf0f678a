// Painting calls: fills, strokes, clears, images and free Cairo drawing, each handed to the painting core as one operation.
#include "CGContextInternal.h"
#include "CairoHandles.h"

#include <CoreGraphics/CGCairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

void setSolid(cairo_t* cr, const cg::Paint& paint, double alpha) {
    cairo_set_source_rgba(cr, paint.red, paint.green, paint.blue, std::clamp(paint.alpha, 0.0, 1.0) * alpha);
}

// A pattern colour tiles its image upright from the device origin.
void setPattern(cairo_t* cr, const cg::Paint& paint) {
    cairo_set_source_surface(cr, paint.pattern->surface, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
}

cg::Operation paintOperation(CGContext& c, const cg::Paint& paint) {
    cg::Operation op;
    if (paint.pattern) {
        cg::Paint p = paint;
        op.setSource = [p](cairo_t* cr) { setPattern(cr, p); };
        op.solidSource = false;
    } else {
        cg::Paint p = paint;
        double alpha = c.state().alpha;
        op.setSource = [p, alpha](cairo_t* cr) { setSolid(cr, p, alpha); };
    }
    return op;
}

// Fills or strokes `path` (device space) with the state's fill or stroke paint.
void drawPath(CGContext& c, std::shared_ptr<const cg::DevicePath> path, bool stroke, bool evenOdd) {
    if (path->empty()) return;
    const auto& s = c.state();
    cg::Operation op = paintOperation(c, stroke ? s.stroke : s.fill);
    op.stroke = stroke;
    op.evenOdd = evenOdd;
    op.appendShape = [path](cairo_t* cr) { path->append(cr); };
    double margin = 1;
    if (stroke) {
        const auto& t = s.ctm;
        double scale = std::max(std::fabs(t.a) + std::fabs(t.c), std::fabs(t.b) + std::fabs(t.d));
        margin += s.lineWidth * scale * std::max(1.0, s.miterLimit) / 2;
    }
    op.bounds = path->bounds(margin);
    c.render(op);
}

void consumePath(CGContextRef c, bool stroke, bool evenOdd) {
    if (!c) return;
    auto path = std::make_shared<cg::DevicePath>(std::move(c->path));
    c->path = {};
    drawPath(*c, std::move(path), stroke, evenOdd);
}

std::shared_ptr<cg::DevicePath> rectsPath(CGContext& c, const CGRect* rects, size_t count) {
    auto path = std::make_shared<cg::DevicePath>();
    for (size_t i = 0; i < count; ++i) {
        CGRect r = CGRectStandardize(rects[i]);
        if (CGRectIsNull(r)) continue;
        path->moveTo(c.toDevice(r.origin));
        path->lineTo(c.toDevice({CGRectGetMaxX(r), r.origin.y}));
        path->lineTo(c.toDevice({CGRectGetMaxX(r), CGRectGetMaxY(r)}));
        path->lineTo(c.toDevice({r.origin.x, CGRectGetMaxY(r)}));
        path->close();
    }
    return path;
}

cairo_filter_t filterFor(CGInterpolationQuality quality) {
    switch (quality) {
        case kCGInterpolationNone: return CAIRO_FILTER_NEAREST;
        case kCGInterpolationLow: return CAIRO_FILTER_BILINEAR;
        default: return CAIRO_FILTER_GOOD;
    }
}

// Alpha-only images and image masks paint the fill colour through their coverage.
cg::SurfaceHandle stencilInColor(CGImageRef image, const cg::Paint& paint) {
    cg::SurfaceHandle colored(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(image->width), int(image->height)));
    cg::CairoHandle cr(cairo_create(colored.get()));
    cairo_set_source_rgba(cr.get(), paint.red, paint.green, paint.blue, std::clamp(paint.alpha, 0.0, 1.0));
    cairo_mask_surface(cr.get(), image->surface, 0, 0);
    return colored;
}

}  // namespace

void CGContextFillPath(CGContextRef c) { consumePath(c, false, false); }
void CGContextEOFillPath(CGContextRef c) { consumePath(c, false, true); }
void CGContextStrokePath(CGContextRef c) { consumePath(c, true, false); }

void CGContextDrawPath(CGContextRef c, CGPathDrawingMode mode) {
    if (!c) return;
    auto path = std::make_shared<cg::DevicePath>(std::move(c->path));
    c->path = {};
    bool evenOdd = mode == kCGPathEOFill || mode == kCGPathEOFillStroke;
    if (mode != kCGPathStroke) drawPath(*c, path, false, evenOdd);
    if (mode == kCGPathStroke || mode == kCGPathFillStroke || mode == kCGPathEOFillStroke) drawPath(*c, path, true, false);
}

void CGContextFillRect(CGContextRef c, CGRect rect) { CGContextFillRects(c, &rect, 1); }

void CGContextFillRects(CGContextRef c, const CGRect* rects, size_t count) {
    if (c && rects) drawPath(*c, rectsPath(*c, rects, count), false, false);
}

void CGContextStrokeRect(CGContextRef c, CGRect rect) {
    if (c) drawPath(*c, rectsPath(*c, &rect, 1), true, false);
}

void CGContextStrokeRectWithWidth(CGContextRef c, CGRect rect, CGFloat width) {
    if (!c) return;
    CGContextSaveGState(c);
    CGContextSetLineWidth(c, width);
    CGContextStrokeRect(c, rect);
    CGContextRestoreGState(c);
}

void CGContextFillEllipseInRect(CGContextRef c, CGRect rect) {
    if (!c) return;
    cg::DevicePath saved = std::move(c->path);
    c->path = {};
    CGContextAddEllipseInRect(c, rect);
    CGContextFillPath(c);
    c->path = std::move(saved);
}

void CGContextStrokeEllipseInRect(CGContextRef c, CGRect rect) {
    if (!c) return;
    cg::DevicePath saved = std::move(c->path);
    c->path = {};
    CGContextAddEllipseInRect(c, rect);
    CGContextStrokePath(c);
    c->path = std::move(saved);
}

void CGContextStrokeLineSegments(CGContextRef c, const CGPoint* points, size_t count) {
    if (!c || !points) return;
    cg::DevicePath saved = std::move(c->path);
    c->path = {};
    for (size_t i = 0; i + 1 < count; i += 2) {
        CGContextMoveToPoint(c, points[i].x, points[i].y);
        CGContextAddLineToPoint(c, points[i + 1].x, points[i + 1].y);
    }
    CGContextStrokePath(c);
    c->path = std::move(saved);
}

void CGContextClearRect(CGContextRef c, CGRect rect) {
    if (!c) return;
    auto path = rectsPath(*c, &rect, 1);
    if (path->empty()) return;
    cg::Operation op;
    op.clear = true;
    op.appendShape = [path](cairo_t* cr) { path->append(cr); };
    op.setSource = [](cairo_t*) {};
    op.bounds = path->bounds(1);
    c->render(op);
}

namespace {

// A picture drawn pixel for pixel (upright or upside down) over the whole of a context whose
// surface is not settled yet, with nothing to blend it with: its rows are copied in, into the
// caller's bytes when the context keeps them (the surface takes them in when next needed), or
// else into the surface, which then needs no clearing.
bool replacePixels(CGContext& c, const cairo_matrix_t& placement, CGImageRef image) {
    const auto& s = c.state();
    if (c.pending == CGContext::Pending::Nothing || image->width != c.width || image->height != c.height) return false;
    std::optional<cg::PixelForPixel> exact = cg::pixelForPixel(placement);
    bool upright = exact && exact->upright;
    bool overAll = exact && exact->left == 0 && exact->top == (upright ? 0 : long(c.height));
    bool plain = s.clips.empty() && !s.mask && s.alpha >= 1 && s.clipBox.x0 == 0 && s.clipBox.y0 == 0 &&
                 s.clipBox.x1 == int(c.width) && s.clipBox.y1 == int(c.height);
    cairo_format_t format = cairo_image_surface_get_format(image->surface);
    bool intoCaller = c.pending == CGContext::Pending::CallerPixels;
    bool readable = format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24;
    if (!overAll || !plain || !readable || (!intoCaller && format != cairo_image_surface_get_format(c.surface)))
        return false;
    // The copy blend copies the picture, and so does the normal blend with an opaque picture or
    // over clear pixels: a new surface, or caller rows found cleared as they are reached.
    if (s.blendMode != kCGBlendModeCopy && s.blendMode != kCGBlendModeNormal) return false;
    bool needsClearRows = s.blendMode == kCGBlendModeNormal && format != CAIRO_FORMAT_RGB24 && intoCaller;

    cairo_surface_flush(image->surface);
    const uint8_t* from = cairo_image_surface_get_data(image->surface);
    size_t fromStride = size_t(cairo_image_surface_get_stride(image->surface));
    uint8_t* to = intoCaller ? c.data : cairo_image_surface_get_data(c.surface);
    size_t toStride = intoCaller ? c.bytesPerRow : size_t(cairo_image_surface_get_stride(c.surface));
    if (!intoCaller && upright && fromStride == toStride) {
        std::memcpy(to, from, toStride * c.height);  // one copy, which memcpy streams past the caches
    } else {
        for (size_t row = 0; row < c.height; ++row) {
            const uint8_t* source = from + (upright ? row : c.height - 1 - row) * fromStride;
            if (needsClearRows && !c.callerRowClear(row)) {
                // The rows already written were clear: clear them again and blend as usual.
                size_t rowLength = c.width * size_t(c.layout.bytesPerPixel());
                for (size_t written = 0; written < row; ++written) std::memset(to + written * toStride, 0, rowLength);
                return false;
            }
            if (intoCaller)
                cg::exportPixels(c.layout, format, source, fromStride, to + row * toStride, toStride, 0, 0, int(c.width), 1);
            else
                std::memcpy(to + row * toStride, source, c.width * 4);
        }
    }
    if (!intoCaller) {
        cairo_surface_mark_dirty(c.surface);
        c.pending = CGContext::Pending::Nothing;
    }
    return true;
}

}  // namespace

void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image) {
    if (!c || !image) return;
    rect = CGRectStandardize(rect);
    if (CGRectIsEmpty(rect)) return;
    const auto& s = c->state();
    // Image pixels to device: the first row goes to the top (largest y) of the rectangle.
    cairo_matrix_t placement = c->placement(rect, image->width, image->height);
    cairo_matrix_t toImage = placement;
    if (cairo_matrix_invert(&toImage) != CAIRO_STATUS_SUCCESS) return;
    if (replacePixels(*c, placement, image)) return;

    bool stencil = cairo_image_surface_get_format(image->surface) == CAIRO_FORMAT_A8;
    std::shared_ptr<cairo_surface_t> source = stencil ? stencilInColor(image, s.fill)
                                                      : cg::SurfaceHandle(cairo_surface_reference(image->surface));
    cairo_filter_t filter = image->shouldInterpolate ? filterFor(s.interpolation) : CAIRO_FILTER_NEAREST;
    bool pixelExact = cg::pixelForPixel(placement).has_value();

    auto corners = std::make_shared<cg::DevicePath>();
    double w = double(image->width), h = double(image->height);
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (auto [x, y] : {std::pair{0.0, 0.0}, {w, 0.0}, {w, h}, {0.0, h}}) {
        cairo_matrix_transform_point(&placement, &x, &y);
        if (corners->empty()) corners->moveTo({x, y});
        else corners->lineTo({x, y});
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    corners->close();

    cg::Operation op;
    op.solidSource = false;
    op.appendShape = [corners](cairo_t* cr) { corners->append(cr); };
    op.setSource = [source, toImage, filter, pixelExact](cairo_t* cr) {
        cg::PatternHandle pattern(cairo_pattern_create_for_surface(source.get()));
        cairo_pattern_set_matrix(pattern.get(), &toImage);
        cairo_pattern_set_filter(pattern.get(), filter);
        // Padding keeps the edges of a scaled image sharp; one placed pixel for pixel needs none.
        cairo_pattern_set_extend(pattern.get(), pixelExact ? CAIRO_EXTEND_NONE : CAIRO_EXTEND_PAD);
        cairo_set_source(cr, pattern.get());
    };
    op.bounds = cg::DeviceBox::around(minX, minY, maxX, maxY, 1);
    c->render(op);
}

void CGContextDrawTiledImage(CGContextRef c, CGRect rect, CGImageRef image) {
    if (!c || !image) return;
    rect = CGRectStandardize(rect);
    if (CGRectIsEmpty(rect)) return;
    CGRect clip = CGContextGetClipBoundingBox(c);
    if (CGRectIsNull(clip)) return;
    double firstX = rect.origin.x + std::floor((clip.origin.x - rect.origin.x) / rect.size.width) * rect.size.width;
    double firstY = rect.origin.y + std::floor((clip.origin.y - rect.origin.y) / rect.size.height) * rect.size.height;
    for (double y = firstY; y < CGRectGetMaxY(clip); y += rect.size.height)
        for (double x = firstX; x < CGRectGetMaxX(clip); x += rect.size.width)
            CGContextDrawImage(c, CGRectMake(x, y, rect.size.width, rect.size.height), image);
}

void CGContextDrawWithCairo(CGContextRef c, const std::function<void(cairo_t*)>& draw) {
    if (!c || !draw) return;
    cg::Operation op;
    op.custom = draw;
    op.bounds = c->state().clipBox;
    c->render(op);
}
