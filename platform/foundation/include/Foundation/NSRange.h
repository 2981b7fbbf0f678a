// NSRange: a location and a length in UTF-16 code units, passed by value in messages.
#pragma once

#include <Foundation/NSObjCRuntime.h>

#include <objc/invoke.h>

struct NSRange {
    NSUInteger location = 0;
    NSUInteger length = 0;
    bool operator==(const NSRange&) const = default;
};

inline NSRange NSMakeRange(NSUInteger location, NSUInteger length) { return {location, length}; }
inline NSUInteger NSMaxRange(NSRange range) { return range.location + range.length; }
inline bool NSLocationInRange(NSUInteger location, NSRange range) {
    return location >= range.location && location - range.location < range.length;
}
// True when `range` lies within a text of `length` units; safe against overflowing sums.
inline bool NSRangeFitsLength(NSRange range, NSUInteger length) {
    return range.location <= length && range.length <= length - range.location;
}

NSString* NSStringFromRange(NSRange range);  // "{location, length}"

template <>
struct objc::StructEncoding<NSRange> {
    static constexpr auto value = objc::text("{_NSRange=QQ}");
};

// Generic invocation carries structs as doubles; a range's two integers travel as their values.
template <>
inline NSRange objc::detail::fromValue<NSRange>(const objc::Value& v, std::size_t index) {
    auto s = std::get_if<objc::StructValue>(&v);
    if (!s || s->fields.size() != 2 || s->fields[0] < 0 || s->fields[1] < 0)
        throw objc::InvokeError("argument " + std::to_string(index + 1) + " should be a range of 2 numbers, not " +
                                describeValue(v));
    return {static_cast<NSUInteger>(s->fields[0]), static_cast<NSUInteger>(s->fields[1])};
}

template <>
inline objc::Value objc::detail::toValue<NSRange>(NSRange range) {
    return objc::StructValue{"{_NSRange=QQ}", {static_cast<double>(range.location), static_cast<double>(range.length)}};
}
