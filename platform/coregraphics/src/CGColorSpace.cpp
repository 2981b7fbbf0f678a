// Colour spaces: device RGB, device grey and pattern spaces.
#include "CGObjects.h"

namespace cg {

namespace {
CGColorSpace* makeSpace(CGColorSpaceModel model, size_t components) {
    auto* space = new CGColorSpace;
    space->model = model;
    space->components = components;
    return space;
}
}  // namespace

// The device spaces are immortal and shared, so colours can refer to them without allocating.
CGColorSpace* sharedDeviceRGB() {
    static CGColorSpace* space = makeSpace(kCGColorSpaceModelRGB, 3);
    return space;
}

CGColorSpace* sharedDeviceGray() {
    static CGColorSpace* space = makeSpace(kCGColorSpaceModelMonochrome, 1);
    return space;
}

}  // namespace cg

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() { return cg::retain(cg::sharedDeviceRGB()); }

CGColorSpaceRef CGColorSpaceCreateDeviceGray() { return cg::retain(cg::sharedDeviceGray()); }

CGColorSpaceRef CGColorSpaceCreatePattern(CGColorSpaceRef) { return cg::makeSpace(kCGColorSpaceModelPattern, 0); }

CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space) { return cg::retain(space); }

void CGColorSpaceRelease(CGColorSpaceRef space) { cg::release(space); }

CGColorSpaceModel CGColorSpaceGetModel(CGColorSpaceRef space) { return space ? space->model : kCGColorSpaceModelUnknown; }

size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space) { return space ? space->components : 0; }
