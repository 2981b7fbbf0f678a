// UIKit's own geometry: edge insets and offsets, passed by value in messages like Core Graphics' structs.
#pragma once

#include <CoreGraphics/CGGeometry.h>

struct UIEdgeInsets {
    CGFloat top = 0, left = 0, bottom = 0, right = 0;
    bool operator==(const UIEdgeInsets&) const = default;
};

struct UIOffset {
    CGFloat horizontal = 0, vertical = 0;
    bool operator==(const UIOffset&) const = default;
};

inline UIEdgeInsets UIEdgeInsetsMake(CGFloat top, CGFloat left, CGFloat bottom, CGFloat right) {
    return {top, left, bottom, right};
}
inline UIOffset UIOffsetMake(CGFloat horizontal, CGFloat vertical) { return {horizontal, vertical}; }

constexpr UIEdgeInsets UIEdgeInsetsZero{};
constexpr UIOffset UIOffsetZero{};

template <>
struct objc::StructEncoding<UIEdgeInsets> {
    static constexpr auto value = objc::text("{UIEdgeInsets=dddd}");
};
template <>
struct objc::StructEncoding<UIOffset> {
    static constexpr auto value = objc::text("{UIOffset=dd}");
};
