// NSArray and NSMutableArray: ordered lists of strong references, with C++ construction and range-for.
#pragma once

#include <Foundation/NSObjCRuntime.h>

#include <initializer_list>
#include <vector>

// Selectors: +array +arrayWithObject: +arrayWithArray: +arrayWithContentsOfFile:
//   -initWithArray: -initWithContentsOfFile: -count -objectAtIndex:(NSUInteger) -objectAtIndexedSubscript:
//   -firstObject -lastObject -containsObject: -indexOfObject:(→ NSUInteger, NSNotFound when absent)
//   -componentsJoinedByString: -arrayByAddingObject: -isEqual: -isEqualToArray: -hash -description
//   -copy -mutableCopy -writeToFile:atomically:
// NSMutableArray adds -addObject: -addObjectsFromArray: -insertObject:atIndex: -removeObjectAtIndex:
//   -removeObject: -removeLastObject -removeAllObjects -replaceObjectAtIndex:withObject:
// An index past the end raises NSRangeException; a nil object raises NSInvalidArgumentException.
// Elements are returned borrowed (+0), as on the phone: they live while the array holds them.
class NSArray : public NSObject {
public:
    static Class class_();

    using Objects = std::vector<objc::Strong<objc_object>>;

    // A new array (+1) of class `cls` (NSArray when nil) holding `objects`, none nil.
    static objc::Strong<NSArray> create(Objects objects, Class cls = nullptr);

    const Objects& objects() const { return objects_; }
    NSUInteger count() const { return objects_.size(); }

protected:
    Objects objects_;

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};

class NSMutableArray : public NSArray {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};

// for (id item : array) — a nil array has no elements. Do not mutate an array while iterating it.
inline const objc::Strong<objc_object>* begin(const NSArray* array) { return array ? array->objects().data() : nullptr; }
inline const objc::Strong<objc_object>* end(const NSArray* array) {
    return array ? array->objects().data() + array->objects().size() : nullptr;
}

namespace objc {
// An autoreleased NSArray of the given objects: array({NSSTR("a"), number}). Raises
// NSInvalidArgumentException for a nil element, as an array literal does.
NSArray* array(std::initializer_list<id> objects);
}  // namespace objc
