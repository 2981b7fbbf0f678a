// Painting: fills, strokes, images and free Cairo drawing, composited through clips, masks, alpha and blend modes.
#include "CGContextInternal.h"

#include <CoreGraphics/CGCairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

cairo_operator_t operatorFor(CGBlendMode mode) {
    switch (mode) {
        case kCGBlendModeMultiply: return CAIRO_OPERATOR_MULTIPLY;
        case kCGBlendModeScreen: return CAIRO_OPERATOR_SCREEN;
        case kCGBlendModeOverlay: return CAIRO_OPERATOR_OVERLAY;
        case kCGBlendModeDarken: return CAIRO_OPERATOR_DARKEN;
        case kCGBlendModeLighten: return CAIRO_OPERATOR_LIGHTEN;
        case kCGBlendModeColorDodge: return CAIRO_OPERATOR_COLOR_DODGE;
        case kCGBlendModeColorBurn: return CAIRO_OPERATOR_COLOR_BURN;
        case kCGBlendModeSoftLight: return CAIRO_OPERATOR_SOFT_LIGHT;
        case kCGBlendModeHardLight: return CAIRO_OPERATOR_HARD_LIGHT;
        case kCGBlendModeDifference: return CAIRO_OPERATOR_DIFFERENCE;
        case kCGBlendModeExclusion: return CAIRO_OPERATOR_EXCLUSION;
        case kCGBlendModeHue: return CAIRO_OPERATOR_HSL_HUE;
        case kCGBlendModeSaturation: return CAIRO_OPERATOR_HSL_SATURATION;
        case kCGBlendModeColor: return CAIRO_OPERATOR_HSL_COLOR;
        case kCGBlendModeLuminosity: return CAIRO_OPERATOR_HSL_LUMINOSITY;
        case kCGBlendModeClear: return CAIRO_OPERATOR_CLEAR;
        case kCGBlendModeCopy: return CAIRO_OPERATOR_SOURCE;
        case kCGBlendModeSourceIn: return CAIRO_OPERATOR_IN;
        case kCGBlendModeSourceOut: return CAIRO_OPERATOR_OUT;
        case kCGBlendModeSourceAtop: return CAIRO_OPERATOR_ATOP;
        case kCGBlendModeDestinationOver: return CAIRO_OPERATOR_DEST_OVER;
        case kCGBlendModeDestinationIn: return CAIRO_OPERATOR_DEST_IN;
        case kCGBlendModeDestinationOut: return CAIRO_OPERATOR_DEST_OUT;
        case kCGBlendModeDestinationAtop: return CAIRO_OPERATOR_DEST_ATOP;
        case kCGBlendModeXOR: return CAIRO_OPERATOR_XOR;
        case kCGBlendModePlusLighter: return CAIRO_OPERATOR_ADD;
        default: return CAIRO_OPERATOR_OVER;
    }
}

// Cairo lets these operators reach past the shape (within the clip); the phone's blend modes stay
// inside the shape, so the shape is made a clip for them.
bool unbounded(cairo_operator_t op) {
    return op == CAIRO_OPERATOR_IN || op == CAIRO_OPERATOR_OUT || op == CAIRO_OPERATOR_DEST_IN ||
           op == CAIRO_OPERATOR_DEST_ATOP;
}

void applyClips(cairo_t* cr, const cg::GState& s) {
    for (const auto& clip : s.clips) {
        clip.path->append(cr);
        cairo_set_fill_rule(cr, clip.evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        cairo_set_antialias(cr, clip.antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
        cairo_clip(cr);
    }
}

void strokeWithState(cairo_t* cr, const CGContext& c) {
    const auto& s = c.state();
    cairo_matrix_t m = c.deviceMatrix();
    double det = m.xx * m.yy - m.xy * m.yx;
    if (det == 0 || !std::isfinite(det)) {
        cairo_new_path(cr);
        return;
    }
    cairo_set_matrix(cr, &m);
    cairo_set_line_width(cr, s.lineWidth);
    cairo_set_line_cap(cr, s.lineCap == kCGLineCapRound    ? CAIRO_LINE_CAP_ROUND
                           : s.lineCap == kCGLineCapSquare ? CAIRO_LINE_CAP_SQUARE
                                                           : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, s.lineJoin == kCGLineJoinRound   ? CAIRO_LINE_JOIN_ROUND
                            : s.lineJoin == kCGLineJoinBevel ? CAIRO_LINE_JOIN_BEVEL
                                                             : CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr, s.miterLimit);
    cairo_stroke(cr);
    cairo_identity_matrix(cr);
}

// Paints the operation onto cr with OVER, the global alpha included; cr's clip is already set.
void paintOver(cairo_t* cr, const CGContext& c, const cg::Operation& op) {
    const auto& s = c.state();
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    if (op.custom) {
        cairo_push_group(cr);
        cairo_matrix_t m = c.deviceMatrix();
        cairo_save(cr);
        cairo_set_matrix(cr, &m);
        op.custom(cr);
        cairo_restore(cr);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, s.alpha);
        return;
    }
    op.setSource(cr);
    cairo_set_antialias(cr, s.antialias() ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    if (op.stroke && (op.solidSource || s.alpha >= 1)) {
        op.appendShape(cr);
        strokeWithState(cr, c);
    } else if (op.stroke) {
        cairo_push_group(cr);
        op.appendShape(cr);
        strokeWithState(cr, c);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, s.alpha);
    } else {
        op.appendShape(cr);
        cairo_set_fill_rule(cr, op.evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        if (op.solidSource || s.alpha >= 1) {
            cairo_fill(cr);
        } else {
            cairo_clip(cr);
            cairo_paint_with_alpha(cr, s.alpha);
        }
    }
}

uint8_t plusDarker(unsigned s, unsigned sa, unsigned d, unsigned da, unsigned ra) {
    int v = int(ra) - int((sa - s) + (da - d));
    return uint8_t(std::max(v, 0));
}

// kCGBlendModePlusDarker has no Cairo operator: the operation is painted into a layer and combined
// by hand, R = max(0, 1 − ((1 − D) + (1 − S))) in premultiplied form.
void renderPlusDarker(CGContext& c, const cg::Operation& op, const cg::DeviceBox& box) {
    const auto& s = c.state();
    cairo_surface_t* layer = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(c.width), int(c.height));
    cairo_t* lc = cairo_create(layer);
    applyClips(lc, s);
    paintOver(lc, c, op);
    cairo_destroy(lc);
    cairo_surface_flush(layer);
    const uint8_t* layerData = cairo_image_surface_get_data(layer);
    int layerStride = cairo_image_surface_get_stride(layer);
    const uint8_t* maskData = s.mask ? cairo_image_surface_get_data(s.mask.get()) : nullptr;
    int maskStride = s.mask ? cairo_image_surface_get_stride(s.mask.get()) : 0;
    uint8_t* out = cairo_image_surface_get_data(c.surface);
    int outStride = cairo_image_surface_get_stride(c.surface);
    cairo_format_t format = cairo_image_surface_get_format(c.surface);
    for (int y = box.y0; y < box.y1; ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(layerData + size_t(y) * layerStride);
        for (int x = box.x0; x < box.x1; ++x) {
            uint32_t sv = src[x];
            if (maskData) {
                unsigned m = maskData[size_t(y) * maskStride + x];
                uint32_t scaled = 0;
                for (int shift = 0; shift < 32; shift += 8) scaled |= ((((sv >> shift) & 0xFF) * m + 127) / 255) << shift;
                sv = scaled;
            }
            unsigned sa = sv >> 24;
            if (sa == 0) continue;
            if (format == CAIRO_FORMAT_A8) {
                uint8_t& d = out[size_t(y) * outStride + x];
                d = uint8_t(std::min(255u, sa + d));
                continue;
            }
            auto& dv = reinterpret_cast<uint32_t*>(out + size_t(y) * outStride)[x];
            unsigned da = format == CAIRO_FORMAT_RGB24 ? 255 : dv >> 24;
            unsigned ra = std::min(255u, sa + da);
            uint32_t result = uint32_t(ra) << 24;
            for (int shift = 0; shift < 24; shift += 8)
                result |= uint32_t(plusDarker((sv >> shift) & 0xFF, sa, (dv >> shift) & 0xFF, da, ra)) << shift;
            dv = result;
        }
    }
    cairo_surface_mark_dirty(c.surface);
    cairo_surface_destroy(layer);
}

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
cairo_surface_t* stencilInColor(CGImageRef image, const cg::Paint& paint) {
    cairo_surface_t* colored = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(image->width), int(image->height));
    cairo_t* cr = cairo_create(colored);
    cairo_set_source_rgba(cr, paint.red, paint.green, paint.blue, std::clamp(paint.alpha, 0.0, 1.0));
    cairo_mask_surface(cr, image->surface, 0, 0);
    cairo_destroy(cr);
    return colored;
}

}  // namespace

void CGContext::render(const cg::Operation& op) {
    settle();
    const auto& s = state();
    cairo_operator_t cop = op.clear ? CAIRO_OPERATOR_CLEAR : operatorFor(s.blendMode);
    bool reachesWholeClip = !op.clear && (unbounded(cop) || op.custom);
    cg::DeviceBox box = (reachesWholeClip ? s.clipBox : s.clipBox.intersect(op.bounds)).intersect(fullBox());
    if (box.empty()) return;
    detachSnapshots();

    if (!op.clear && s.blendMode == kCGBlendModePlusDarker) {
        renderPlusDarker(*this, op, box);
        publish(box);
        return;
    }
    cairo_save(cr);
    cairo_identity_matrix(cr);
    applyClips(cr, s);
    cairo_surface_t* mask = s.mask.get();
    bool clear = op.clear || cop == CAIRO_OPERATOR_CLEAR;
    if (!clear && (op.custom || (op.stroke && (mask || unbounded(cop))))) {
        // Strokes and free drawing cannot be turned into a clip, so they go through a layer that is
        // then composited like an image.
        cairo_push_group(cr);
        paintOver(cr, *this, op);
        cairo_pop_group_to_source(cr);
        cairo_set_operator(cr, cop);
        if (mask) cairo_mask_surface(cr, mask, 0, 0);
        else cairo_paint(cr);
    } else if (clear) {
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        op.appendShape(cr);
        if (op.stroke) {
            strokeWithState(cr, *this);
        } else {
            cairo_set_fill_rule(cr, op.evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
            cairo_set_antialias(cr, s.antialias() ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
            cairo_clip(cr);
            if (mask) cairo_mask_surface(cr, mask, 0, 0);
            else cairo_paint(cr);
        }
    } else {
        bool folded = op.solidSource || s.alpha >= 1;
        op.setSource(cr);
        cairo_set_operator(cr, cop);
        cairo_set_antialias(cr, s.antialias() ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
        op.appendShape(cr);
        if (op.stroke && folded) {
            strokeWithState(cr, *this);
        } else if (op.stroke) {
            cairo_new_path(cr);
            cairo_push_group(cr);
            paintOver(cr, *this, op);
            cairo_pop_group_to_source(cr);
            cairo_paint(cr);
        } else {
            cairo_set_fill_rule(cr, op.evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
            if (!mask && !unbounded(cop) && folded) {
                cairo_fill(cr);
            } else {
                cairo_clip(cr);
                if (!mask) {
                    cairo_paint_with_alpha(cr, folded ? 1.0 : s.alpha);
                } else {
                    if (!folded) {
                        cairo_push_group(cr);
                        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
                        cairo_paint_with_alpha(cr, s.alpha);
                        cairo_pop_group_to_source(cr);
                    }
                    cairo_mask_surface(cr, mask, 0, 0);
                }
            }
        }
    }
    cairo_restore(cr);
    publish(box);
}

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
    cairo_surface_t* pixels = stencil ? stencilInColor(image, s.fill) : cairo_surface_reference(image->surface);
    auto source = std::shared_ptr<cairo_surface_t>(pixels, cairo_surface_destroy);
    cairo_filter_t filter = image->shouldInterpolate ? filterFor(s.interpolation) : CAIRO_FILTER_NEAREST;
    bool pixelExact = std::fabs(std::fabs(placement.xx) - 1) < 1e-9 && std::fabs(std::fabs(placement.yy) - 1) < 1e-9 &&
                      placement.xy == 0 && placement.yx == 0 && placement.x0 == std::floor(placement.x0) &&
                      placement.y0 == std::floor(placement.y0);

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
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source.get());
        cairo_pattern_set_matrix(pattern, &toImage);
        cairo_pattern_set_filter(pattern, filter);
        // Padding keeps the edges of a scaled image sharp; an unscaled one needs none.
        cairo_pattern_set_extend(pattern, pixelExact ? CAIRO_EXTEND_NONE : CAIRO_EXTEND_PAD);
        cairo_set_source(cr, pattern);
        cairo_pattern_destroy(pattern);
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
