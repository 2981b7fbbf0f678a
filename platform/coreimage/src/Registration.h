// What the Core Image sources share privately: each class's registration, in the order registerCoreImageClasses calls them.
#pragma once

namespace platform::coreimage {

void registerCIVector();
void registerCIImage();
void registerCIFilter();
void registerCIContext();

}  // namespace platform::coreimage
