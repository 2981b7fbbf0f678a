// Colour spaces: the model (RGB, monochrome, pattern) and how many colour components a colour in it has.
#pragma once

#include <CoreGraphics/CGBase.h>

enum CGColorSpaceModel : int32_t {
    kCGColorSpaceModelUnknown = -1,
    kCGColorSpaceModelMonochrome = 0,
    kCGColorSpaceModelRGB = 1,
    kCGColorSpaceModelCMYK = 2,
    kCGColorSpaceModelLab = 3,
    kCGColorSpaceModelDeviceN = 4,
    kCGColorSpaceModelIndexed = 5,
    kCGColorSpaceModelPattern = 6,
    kCGColorSpaceModelXYZ = 7,
};

CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
CGColorSpaceRef CGColorSpaceCreateDeviceGray();
// A pattern space; the base space is accepted for the phone's signature (NULL for coloured patterns).
CGColorSpaceRef CGColorSpaceCreatePattern(CGColorSpaceRef baseSpace);

CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space);
void CGColorSpaceRelease(CGColorSpaceRef space);

// kCGColorSpaceModelUnknown for NULL.
CGColorSpaceModel CGColorSpaceGetModel(CGColorSpaceRef space);
// Colour components without alpha: 3 for RGB, 1 for monochrome, 0 for pattern and NULL.
size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space);
