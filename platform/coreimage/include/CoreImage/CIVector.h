// CIVector: an immutable list of doubles that filters take as colour rows, biases and rectangles.
#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <objc/NSObject.h>

#include <vector>

// Selectors (factories return autoreleased vectors):
//   + vectorWithX:(double), vectorWithX:Y:, vectorWithX:Y:Z:, vectorWithX:Y:Z:W:
//   + vectorWithValues:(const double*)count:(unsigned long)    NULL values give an empty vector
//   + vectorWithCGRect:(CGRect)            (x, y, width, height)
//   + vectorWithCGPoint:(CGPoint)          (x, y)
//   - initWithX:Y:Z:W: and the others      (owned results)
//   - (double)X, Y, Z, W                   0 for a component the vector does not have
//   - (double)valueAtIndex:(unsigned long) 0 past the end, as on the phone
//   - (unsigned long)count
//   - (CGRect)CGRectValue, (CGPoint)CGPointValue
//   - isEqual: (same count and values), hash, description ("[1 0 0 0]"), copy (the receiver)
class CIVector : public NSObject {
public:
    static Class class_();

    // An autoreleased vector for C++ callers inside the platform.
    static CIVector* vectorWithValues(std::vector<double> values);

    // Component i, 0 past the end.
    double at(size_t i) const { return i < values.size() ? values[i] : 0; }

    std::vector<double> values;
};
