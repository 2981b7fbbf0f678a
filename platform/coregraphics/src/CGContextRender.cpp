// The painting core: an operation is composited through the state's clips, mask, alpha and blend mode by the one strategy its case calls for.
#include "CGContextInternal.h"
#include "CairoHandles.h"

#include <algorithm>
#include <cmath>

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

// What decides how an operation is painted.
struct PaintCase {
    const cg::Operation& op;
    cg::DeviceBox box;        // the pixels it may change
    cairo_operator_t blend;   // the blend mode as a Cairo operator
    cairo_surface_t* mask;    // the state's mask coverage (borrowed); null without mask clips
    bool clear;               // a clear, or the clear blend mode
    bool plusDarker;
    bool unbounded;
    bool folded;              // the global alpha is 1 or already in the source colour
};

void paintThroughMask(cairo_t* cr, cairo_surface_t* mask) {
    if (mask) cairo_mask_surface(cr, mask, 0, 0);
    else cairo_paint(cr);
}

uint8_t plusDarker(unsigned s, unsigned sa, unsigned d, unsigned da, unsigned ra) {
    int v = int(ra) - int((sa - s) + (da - d));
    return uint8_t(std::max(v, 0));
}

// kCGBlendModePlusDarker has no Cairo operator: the operation is painted into a layer and combined
// by hand, R = max(0, 1 − ((1 − D) + (1 − S))) in premultiplied form.
void paintPlusDarker(CGContext& c, const PaintCase& p) {
    const auto& s = c.state();
    const cg::DeviceBox& box = p.box;
    cg::SurfaceHandle layer(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(c.width), int(c.height)));
    {
        cg::CairoHandle layerCairo(cairo_create(layer.get()));
        applyClips(layerCairo.get(), s);
        paintOver(layerCairo.get(), c, p.op);
    }
    cairo_surface_flush(layer.get());
    const uint8_t* layerData = cairo_image_surface_get_data(layer.get());
    int layerStride = cairo_image_surface_get_stride(layer.get());
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
}

// The strategies below draw on the context's own Cairo state, with identity matrix and the clips set.

// A shape cleared by its coverage, through the mask.
void clearShape(CGContext& c, const PaintCase& p) {
    cairo_t* cr = c.cr;
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    p.op.appendShape(cr);
    if (p.op.stroke) {
        strokeWithState(cr, c);
        return;
    }
    cairo_set_fill_rule(cr, p.op.evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_set_antialias(cr, c.state().antialias() ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    cairo_clip(cr);
    paintThroughMask(cr, p.mask);
}

// Free drawing in the clear blend mode has no shape to clear: it clears what it draws, by the
// drawing's coverage and the mask's.
void clearDrawing(CGContext& c, const PaintCase& p) {
    cairo_t* cr = c.cr;
    cairo_push_group(cr);
    paintOver(cr, c, p.op);
    if (p.mask) {
        cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
        cairo_set_source_surface(cr, p.mask, 0, 0);
        cairo_paint(cr);
    }
    cairo_pop_group_to_source(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
    cairo_paint(cr);
}

// Strokes and free drawing cannot be turned into a clip, so they are drawn into a layer that is
// then composited like an image.
void paintThroughLayer(CGContext& c, const PaintCase& p) {
    cairo_t* cr = c.cr;
    cairo_push_group(cr);
    paintOver(cr, c, p.op);
    cairo_pop_group_to_source(cr);
    cairo_set_operator(cr, p.blend);
    paintThroughMask(cr, p.mask);
}

// Sets the source, operator and shape of a stroke or fill drawn straight onto the context.
void beginShape(CGContext& c, const PaintCase& p) {
    cairo_t* cr = c.cr;
    p.op.setSource(cr);
    cairo_set_operator(cr, p.blend);
    cairo_set_antialias(cr, c.state().antialias() ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    p.op.appendShape(cr);
    if (!p.op.stroke) cairo_set_fill_rule(cr, p.op.evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
}

void strokeShape(CGContext& c, const PaintCase& p) {
    beginShape(c, p);
    strokeWithState(c.cr, c);
}

void fillShape(CGContext& c, const PaintCase& p) {
    beginShape(c, p);
    cairo_fill(c.cr);
}

// The shape becomes a clip, so that an unbounded operator stays inside it and the source can be
// painted with the global alpha or through the mask.
void fillThroughClip(CGContext& c, const PaintCase& p) {
    cairo_t* cr = c.cr;
    beginShape(c, p);
    cairo_clip(cr);
    if (!p.mask) {
        cairo_paint_with_alpha(cr, p.folded ? 1.0 : c.state().alpha);
        return;
    }
    if (!p.folded) {
        cairo_push_group(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_paint_with_alpha(cr, c.state().alpha);
        cairo_pop_group_to_source(cr);
    }
    cairo_mask_surface(cr, p.mask, 0, 0);
}

struct Strategy {
    bool (*applies)(const PaintCase&);
    void (*paint)(CGContext&, const PaintCase&);
    bool onContext;  // draws on the context's Cairo state, which render prepares and restores
};

// The first strategy that applies paints the operation.
constexpr Strategy kStrategies[] = {
    {[](const PaintCase& p) { return p.clear && bool(p.op.custom); }, clearDrawing, true},
    {[](const PaintCase& p) { return p.clear; }, clearShape, true},
    {[](const PaintCase& p) { return p.plusDarker; }, paintPlusDarker, false},
    {[](const PaintCase& p) { return p.op.custom || (p.op.stroke && (p.mask || p.unbounded || !p.folded)); }, paintThroughLayer, true},
    {[](const PaintCase& p) { return p.op.stroke; }, strokeShape, true},
    {[](const PaintCase& p) { return !p.mask && !p.unbounded && p.folded; }, fillShape, true},
    {[](const PaintCase&) { return true; }, fillThroughClip, true},
};

}  // namespace

void CGContext::render(const cg::Operation& op) {
    settle();
    const auto& s = state();
    cairo_operator_t blend = op.clear ? CAIRO_OPERATOR_CLEAR : operatorFor(s.blendMode);
    bool reachesWholeClip = !op.clear && (unbounded(blend) || op.custom);
    cg::DeviceBox box = (reachesWholeClip ? s.clipBox : s.clipBox.intersect(op.bounds)).intersect(fullBox());
    if (box.empty()) return;
    detachSnapshots();

    PaintCase paintCase{op,
                        box,
                        blend,
                        s.mask.get(),
                        blend == CAIRO_OPERATOR_CLEAR,
                        !op.clear && s.blendMode == kCGBlendModePlusDarker,
                        unbounded(blend),
                        op.solidSource || s.alpha >= 1};
    const Strategy& strategy = *std::find_if(std::begin(kStrategies), std::end(kStrategies),
                                             [&](const Strategy& candidate) { return candidate.applies(paintCase); });
    if (strategy.onContext) {
        cg::SavedCairoState saved(cr);
        cairo_identity_matrix(cr);
        applyClips(cr, s);
        strategy.paint(*this, paintCase);
    } else {
        strategy.paint(*this, paintCase);
    }
    publish(box);
}
