// Everything of Core Image in one include, and the registration of its classes.
#pragma once

#include <CoreImage/CIContext.h>
#include <CoreImage/CIFilter.h>
#include <CoreImage/CIImage.h>
#include <CoreImage/CIVector.h>

namespace platform {
// Registers CIVector, CIImage, CIFilter and CIContext; libplatform calls it once at load, after
// Foundation's classes (filters key their inputs by NSString) and before UIKit's.
void registerCoreImageClasses();
}  // namespace platform
