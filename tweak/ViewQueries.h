// What the replacements ask of the views, controllers and colours they are given.
#pragma once

#include "UIColor+Tarnwick.h"

#include <Foundation/Foundation.h>
#include <objc/message.h>

#include <string_view>

namespace obscuro {

inline id superview(id view) { return msg<id>(view, sel<"superview">()); }
inline id viewOf(id controller) { return msg<id>(controller, sel<"view">()); }
inline long tagOf(id view) { return msg<long>(view, sel<"tag">()); }

// Whether the hex string of `colour` (alpha plays no part) is `hex`; false for nil.
inline bool hexIs(id colour, std::string_view hex) {
    id h = tw_hexStringFromColor(colour);
    return h && objc::utf8(h) == hex;
}

// Calls `body` with each direct subview of `view` as they are now: what the body does to a
// subview must not disturb the walk.
template <class F>
void forEachSubview(id view, F&& body) {
    id subviews = objc::autorelease(msg<id>(msg<id>(view, sel<"subviews">()), sel<"copy">()));
    unsigned long count = msg<unsigned long>(subviews, sel<"count">());
    for (unsigned long i = 0; i < count; ++i) body(msg<id>(subviews, sel<"objectAtIndex:">(), i));
}

}  // namespace obscuro
