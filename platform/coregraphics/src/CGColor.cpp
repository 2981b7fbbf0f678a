// Colours: components in a colour space, and pattern colours that tile an image.
#include "CGObjects.h"

CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat* components) {
    if (!space || !components || space->model == kCGColorSpaceModelPattern) return nullptr;
    auto* color = new CGColor;
    color->space = cg::Ref<CGColorSpace>::share(space);
    color->components.assign(components, components + space->components + 1);
    return color;
}

CGColorRef CGColorCreateWithPatternImage(CGImageRef image) {
    if (!image) return nullptr;
    auto* color = new CGColor;
    color->space = cg::Ref<CGColorSpace>::adopt(CGColorSpaceCreatePattern(nullptr));
    color->components = {1.0};
    color->patternImage = cg::Ref<CGImage>::share(image);
    return color;
}

CGColorRef CGColorCreateCopyWithAlpha(CGColorRef color, CGFloat alpha) {
    if (!color) return nullptr;
    auto* copy = new CGColor;
    copy->space = color->space;
    copy->components = color->components;
    copy->components.back() = alpha;
    copy->patternImage = color->patternImage;
    return copy;
}

CGColorRef CGColorRetain(CGColorRef color) { return cg::retain(color); }

void CGColorRelease(CGColorRef color) { cg::release(color); }

size_t CGColorGetNumberOfComponents(CGColorRef color) { return color ? color->components.size() : 0; }

const CGFloat* CGColorGetComponents(CGColorRef color) { return color ? color->components.data() : nullptr; }

CGFloat CGColorGetAlpha(CGColorRef color) { return color ? color->components.back() : 0; }

CGColorSpaceRef CGColorGetColorSpace(CGColorRef color) { return color ? color->space.get() : nullptr; }

CGImageRef CGColorGetPatternImage(CGColorRef color) { return color ? color->patternImage.get() : nullptr; }

bool CGColorEqualToColor(CGColorRef color1, CGColorRef color2) {
    if (color1 == color2) return true;
    if (!color1 || !color2) return false;
    return color1->space->model == color2->space->model && color1->components == color2->components &&
           color1->patternImage.get() == color2->patternImage.get();
}
