// What Foundation's own files share: autoreleasing, kind-checked casts and the exceptions the phone raises.
#pragma once

#include <Foundation/NSString.h>

#include <objc/NSException.h>

#include <cmath>
#include <limits>
#include <string>

namespace foundation {

// Hands an owned object to the autorelease pool and returns it borrowed, as a +0 result.
template <class T>
T* autoreleased(objc::Strong<T> owned) {
    return objc::autorelease(owned.release());
}

// `object` as T when it is of that kind, else nil.
template <class T>
T* as(id object) {
    return object_isKindOfClass(object, T::class_()) ? static_cast<T*>(object) : nullptr;
}

// A number's value as T: NaN is 0 and values beyond T's range stop at its ends, where a plain
// cast would be undefined.
template <class T>
T saturated(double value) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    if (value >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}

inline NSString* stringFromUTF16(std::u16string units) { return autoreleased(NSString::create(std::move(units))); }

// The object's description as UTF-8; "(null)" for nil.
std::string describe(id object);

// "-[NSArray objectAtIndex:]: index 5 beyond bounds [0 .. 2]" and the like.
[[noreturn]] void raiseRange(id receiver, SEL sel, const std::string& detail);
[[noreturn]] void raiseInvalidArgument(id receiver, SEL sel, const std::string& detail);

}  // namespace foundation
