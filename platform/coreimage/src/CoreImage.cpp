// Registration of Core Image's classes when libplatform loads.
#include "Registration.h"

#include <CoreImage/CoreImage.h>

namespace platform {

void registerCoreImageClasses() {
    coreimage::registerCIVector();
    coreimage::registerCIImage();
    coreimage::registerCIFilter();
    coreimage::registerCIContext();
}

}  // namespace platform
