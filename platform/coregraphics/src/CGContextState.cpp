// The graphics state: save and restore, the current transform, colours and line and painting settings.
#include "CGContextInternal.h"

#include <algorithm>
#include <cmath>

namespace cg {

cairo_matrix_t deviceMatrix(const CGAffineTransform& ctm, size_t height) {
    // User space maps through the CTM to the phone's device space (origin bottom-left), which Cairo
    // stores upside down.
    cairo_matrix_t m;
    cairo_matrix_init(&m, ctm.a, -ctm.b, ctm.c, -ctm.d, ctm.tx, double(height) - ctm.ty);
    return m;
}

std::optional<PixelForPixel> pixelForPixel(const cairo_matrix_t& placement) {
    // Points to pixels at the screen's scale leave rounding in the last bits.
    auto near = [](double a, double b) { return std::fabs(a - b) < 1e-9; };
    // Offsets far outside any surface are refused, so that they convert to integers safely.
    constexpr double kFarOff = 1 << 30;
    double left = std::round(placement.x0), top = std::round(placement.y0);
    bool upright = near(placement.yy, 1);
    if (!near(placement.xx, 1) || !(upright || near(placement.yy, -1)) || placement.xy != 0 || placement.yx != 0 ||
        !near(placement.x0, left) || !near(placement.y0, top) || std::fabs(left) > kFarOff || std::fabs(top) > kFarOff)
        return std::nullopt;
    return PixelForPixel{long(left), long(top), upright};
}

DeviceBox DeviceBox::intersect(const DeviceBox& o) const {
    return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
}

DeviceBox DeviceBox::around(double minX, double minY, double maxX, double maxY, double margin) {
    auto clampInt = [](double v) { return int(std::clamp(v, -1e9, 1e9)); };
    if (!(minX <= maxX && minY <= maxY)) return {};
    return {clampInt(std::floor(minX - margin)), clampInt(std::floor(minY - margin)), clampInt(std::ceil(maxX + margin)),
            clampInt(std::ceil(maxY + margin))};
}

}  // namespace cg

cairo_matrix_t CGContext::placement(CGRect rect, size_t pictureWidth, size_t pictureHeight) const {
    cairo_matrix_t m = deviceMatrix();
    cairo_matrix_translate(&m, rect.origin.x, rect.origin.y + rect.size.height);
    cairo_matrix_scale(&m, rect.size.width / double(pictureWidth), -rect.size.height / double(pictureHeight));
    return m;
}

CGPoint CGContext::toDevice(CGPoint user) const {
    cairo_matrix_t m = deviceMatrix();
    double x = user.x, y = user.y;
    cairo_matrix_transform_point(&m, &x, &y);
    return {x, y};
}

CGPoint CGContext::toUser(CGPoint device) const {
    cairo_matrix_t m = deviceMatrix();
    if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return {};
    double x = device.x, y = device.y;
    cairo_matrix_transform_point(&m, &x, &y);
    return {x, y};
}

namespace {

cg::Paint paintFrom(CGColorRef color) {
    cg::Paint paint;
    paint.space = color->space;
    const auto& k = color->components;
    switch (color->space->model) {
        case kCGColorSpaceModelRGB:
            paint.red = k[0], paint.green = k[1], paint.blue = k[2], paint.alpha = k[3];
            break;
        case kCGColorSpaceModelMonochrome:
            paint.red = paint.green = paint.blue = k[0], paint.alpha = k[1];
            break;
        default:
            paint.alpha = k.back();
            paint.pattern = color->patternImage;
            break;
    }
    return paint;
}

// A new colour space starts out with opaque black, as on the phone.
cg::Paint paintFor(CGColorSpaceRef space) {
    cg::Paint paint;
    paint.space = cg::Ref<CGColorSpace>::share(space);
    return paint;
}

void setComponents(cg::Paint& paint, const CGFloat* k) {
    if (!k || !paint.space) return;
    switch (paint.space->model) {
        case kCGColorSpaceModelRGB:
            paint.red = k[0], paint.green = k[1], paint.blue = k[2], paint.alpha = k[3];
            break;
        case kCGColorSpaceModelMonochrome:
            paint.red = paint.green = paint.blue = k[0], paint.alpha = k[1];
            break;
        default:
            break;
    }
}

void concat(CGContextRef c, CGAffineTransform t) {
    if (c) c->state().ctm = CGAffineTransformConcat(t, c->state().ctm);
}

}  // namespace

void CGContextSaveGState(CGContextRef c) {
    if (c) c->states.push_back(c->state());
}

void CGContextRestoreGState(CGContextRef c) {
    if (c && c->states.size() > 1) c->states.pop_back();
}

void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty) { concat(c, CGAffineTransformMakeTranslation(tx, ty)); }
void CGContextScaleCTM(CGContextRef c, CGFloat sx, CGFloat sy) { concat(c, CGAffineTransformMakeScale(sx, sy)); }
void CGContextRotateCTM(CGContextRef c, CGFloat angle) { concat(c, CGAffineTransformMakeRotation(angle)); }
void CGContextConcatCTM(CGContextRef c, CGAffineTransform transform) { concat(c, transform); }
CGAffineTransform CGContextGetCTM(CGContextRef c) { return c ? c->state().ctm : CGAffineTransformIdentity; }

void CGContextSetLineWidth(CGContextRef c, CGFloat width) {
    if (c && width >= 0) c->state().lineWidth = width;
}
void CGContextSetLineCap(CGContextRef c, CGLineCap cap) {
    if (c) c->state().lineCap = cap;
}
void CGContextSetLineJoin(CGContextRef c, CGLineJoin join) {
    if (c) c->state().lineJoin = join;
}
void CGContextSetMiterLimit(CGContextRef c, CGFloat limit) {
    if (c) c->state().miterLimit = limit;
}
void CGContextSetAlpha(CGContextRef c, CGFloat alpha) {
    if (c && !std::isnan(alpha)) c->state().alpha = std::clamp(alpha, 0.0, 1.0);
}
void CGContextSetBlendMode(CGContextRef c, CGBlendMode mode) {
    if (c && mode >= kCGBlendModeNormal && mode <= kCGBlendModePlusLighter) c->state().blendMode = mode;
}
void CGContextSetShouldAntialias(CGContextRef c, bool shouldAntialias) {
    if (c) c->state().shouldAntialias = shouldAntialias;
}
void CGContextSetAllowsAntialiasing(CGContextRef c, bool allowsAntialiasing) {
    if (c) c->state().allowsAntialiasing = allowsAntialiasing;
}
void CGContextSetInterpolationQuality(CGContextRef c, CGInterpolationQuality quality) {
    if (c) c->state().interpolation = quality;
}
CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef c) {
    return c ? c->state().interpolation : kCGInterpolationDefault;
}

void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color) {
    if (c && color) c->state().fill = paintFrom(color);
}
void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color) {
    if (c && color) c->state().stroke = paintFrom(color);
}
void CGContextSetFillColorSpace(CGContextRef c, CGColorSpaceRef space) {
    if (c && space) c->state().fill = paintFor(space);
}
void CGContextSetStrokeColorSpace(CGContextRef c, CGColorSpaceRef space) {
    if (c && space) c->state().stroke = paintFor(space);
}
void CGContextSetFillColor(CGContextRef c, const CGFloat* components) {
    if (c) setComponents(c->state().fill, components);
}
void CGContextSetStrokeColor(CGContextRef c, const CGFloat* components) {
    if (c) setComponents(c->state().stroke, components);
}
void CGContextSetRGBFillColor(CGContextRef c, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    if (!c) return;
    c->state().fill = paintFor(cg::sharedDeviceRGB());
    c->state().fill.red = red, c->state().fill.green = green, c->state().fill.blue = blue, c->state().fill.alpha = alpha;
}
void CGContextSetRGBStrokeColor(CGContextRef c, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    if (!c) return;
    c->state().stroke = paintFor(cg::sharedDeviceRGB());
    c->state().stroke.red = red, c->state().stroke.green = green, c->state().stroke.blue = blue;
    c->state().stroke.alpha = alpha;
}
void CGContextSetGrayFillColor(CGContextRef c, CGFloat gray, CGFloat alpha) {
    if (!c) return;
    c->state().fill = paintFor(cg::sharedDeviceGray());
    c->state().fill.red = c->state().fill.green = c->state().fill.blue = gray, c->state().fill.alpha = alpha;
}
void CGContextSetGrayStrokeColor(CGContextRef c, CGFloat gray, CGFloat alpha) {
    if (!c) return;
    c->state().stroke = paintFor(cg::sharedDeviceGray());
    c->state().stroke.red = c->state().stroke.green = c->state().stroke.blue = gray, c->state().stroke.alpha = alpha;
}
