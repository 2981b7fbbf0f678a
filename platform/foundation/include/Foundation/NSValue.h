// NSValue: a geometry struct or a range boxed as an object, compared by content.
#pragma once

#include <Foundation/NSRange.h>

#include <CoreGraphics/CGGeometry.h>

#include <array>
#include <string>

// Selectors: +valueWithCGPoint: +valueWithCGSize: +valueWithCGRect: +valueWithRange:
//   -CGPointValue -CGSizeValue -CGRectValue -rangeValue -objCType(const char*) -isEqual: -hash -description
// Reading a value as another struct than it holds gives zeroes.
class NSValue : public NSObject {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
    template <class T>
    static NSValue* boxed(Class cls, const T& value);  // autoreleased
    template <class T>
    T unboxed() const;

    std::string type_;                // the struct's encoding, e.g. "{CGSize=dd}"
    std::array<unsigned char, 32> bytes_{};  // big enough for the largest boxed struct, CGRect
};
