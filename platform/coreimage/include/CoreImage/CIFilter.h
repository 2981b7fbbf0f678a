// CIFilter: a filter made by name, whose inputs are set by key and whose output is a new CIImage.
#pragma once

#include <Foundation/NSString.h>
#include <objc/NSObject.h>

#include <map>
#include <string>

// Input keys, as on the phone.
#define kCIInputImageKey NSSTR("inputImage")
#define kCIInputExtentKey NSSTR("inputExtent")
#define kCIOutputImageKey NSSTR("outputImage")

// Filters known by name:
//   "CIColorMatrix"  inputImage; inputRVector, inputGVector, inputBVector, inputAVector (CIVector,
//                    defaults (1,0,0,0), (0,1,0,0), (0,0,1,0), (0,0,0,1)); inputBiasVector (default
//                    (0,0,0,0)). Each output component of a pixel is the dot product of its vector
//                    with the pixel's unpremultiplied (r, g, b, a), plus the bias component, clamped
//                    to 0–1; the result is premultiplied again. Extent: the input image's.
//   "CIAreaAverage"  inputImage; inputExtent (CIVector x, y, width, height; default (0, 0, 640, 80)).
//                    A 1 × 1 image at the extent's integral origin holding the mean of the
//                    premultiplied pixels over the extent made integral (pixels outside the image
//                    count as clear), so that translucent pixels weigh by their alpha. An empty,
//                    unbounded or oversized (over 32767 on a side) extent gives a clear pixel at (0, 0).
//
// Selectors:
//   + filterWithName:(NSString*)      autoreleased, inputs at their defaults; nil for unknown names
//   + filterNamesInCategory:(NSString*)  every known name, whatever the category
//   - setDefaults                     resets every input that has a default (not inputImage)
//   - setValue:(id)forKey:(NSString*) nil clears the input. A key the filter does not have raises
//                                     NSUnknownKeyException, as on the phone.
//   - valueForKey:(NSString*)         the input's value (nil when unset), or outputImage for
//                                     "outputImage"; unknown keys raise NSUnknownKeyException
//   - outputImage                     a new autoreleased CIImage computed from the inputs now; nil
//                                     when the input image is missing or an input has the wrong kind
//   - name, inputKeys (NSArray of NSString), outputKeys, description
class CIFilter : public NSObject {
public:
    static Class class_();

    std::string name;
    std::map<std::string, objc::Strong<objc_object>> inputs;
};
