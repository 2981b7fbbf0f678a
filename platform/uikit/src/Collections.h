// Foundation values the UIKit classes hand out: arrays of views and controllers, copies of strings.
#pragma once

#include <Foundation/NSArray.h>

#include <vector>

namespace platform::uikit {

// An autoreleased NSArray of the objects, in order; nil entries are skipped.
inline id arrayWithObjects(const std::vector<id>& objects) {
    NSArray::Objects list;
    list.reserve(objects.size());
    for (id object : objects)
        if (object) list.push_back(objc::retain(object));
    return objc::autorelease(static_cast<id>(NSArray::create(std::move(list)).release()));
}

// The receiver's `copy` (owned), so that a mutable string handed in cannot change later.
inline objc::Strong<objc_object> copyOf(id object) { return objc::adopt(msg<id>(object, sel<"copy">())); }

}  // namespace platform::uikit
