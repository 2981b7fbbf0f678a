// NSArray and NSMutableArray: ordered strong references, elements compared with isEqual:.
#include <Foundation/NSArray.h>
#include <Foundation/NSString.h>

#include "Description.h"
#include "DeviceFile.h"
#include "Internal.h"
#include "PropertyList.h"

namespace {

Class gNSArray = nullptr;
Class gNSMutableArray = nullptr;

bool equalObjects(id a, id b) { return a == b || (a && b && msg<BOOL>(a, sel<"isEqual:">(), b)); }

NSUInteger indexOf(NSArray* array, id object) {
    const auto& objects = array->objects();
    for (std::size_t i = 0; i < objects.size(); ++i)
        if (equalObjects(objects[i].get(), object)) return i;
    return static_cast<NSUInteger>(NSNotFound);
}

bool equalArrays(NSArray* a, NSArray* b) {
    if (a->count() != b->count()) return false;
    for (std::size_t i = 0; i < a->count(); ++i)
        if (!equalObjects(a->objects()[i].get(), b->objects()[i].get())) return false;
    return true;
}

void checkIndex(NSArray* self, SEL sel, NSUInteger index, NSUInteger limit) {
    if (index >= limit) {
        std::string bounds = self->count() ? "[0 .. " + std::to_string(self->count() - 1) + "]" : "for empty array";
        foundation::raiseRange(self, sel, "index " + std::to_string(index) + " beyond bounds " + bounds);
    }
}

objc::Strong<objc_object> checkedObject(id self, SEL sel, id object) {
    if (!object) foundation::raiseInvalidArgument(self, sel, "object cannot be nil");
    return objc::retain(object);
}

}  // namespace

Class NSArray::class_() { return gNSArray; }
Class NSMutableArray::class_() { return gNSMutableArray; }

objc::Strong<NSArray> NSArray::create(Objects objects, Class cls) {
    auto array = objc::adopt(objc::createInstance<NSArray>(cls ? cls : gNSArray));
    array->objects_ = std::move(objects);
    return array;
}

NSArray* objc::array(std::initializer_list<id> objects) {
    NSArray::Objects list;
    for (id object : objects) list.push_back(checkedObject(nullptr, nullptr, object));
    return foundation::autoreleased(NSArray::create(std::move(list)));
}

void NSArray::registerClass() {
    using foundation::autoreleased;
    gNSArray =
        objc::ClassBuilder<NSArray>("NSArray", NSObject::class_())
            .classMethod(sel<"array">(), [](Class cls, SEL) { return autoreleased(create({}, cls)); })
            .classMethod(sel<"arrayWithObject:">(),
                         [](Class cls, SEL sel, id object) { return autoreleased(create({checkedObject(cls, sel, object)}, cls)); })
            .classMethod(sel<"arrayWithArray:">(),
                         [](Class cls, SEL, NSArray* other) { return autoreleased(create(other ? other->objects_ : Objects{}, cls)); })
            .classMethod(sel<"arrayWithContentsOfFile:">(),
                         [](Class cls, SEL, NSString* path) -> NSArray* {
                             auto contents = foundation::readPropertyListFile(objc::utf8(path));
                             auto* array = foundation::as<NSArray>(contents.get());
                             return array ? autoreleased(create(array->objects_, cls)) : nullptr;
                         })
            .method(sel<"initWithArray:">(),
                    [](NSArray* self, SEL, NSArray* other) {
                        if (other) self->objects_ = other->objects_;
                        return self;
                    })
            .method(sel<"initWithContentsOfFile:">(),
                    [](NSArray* self, SEL, NSString* path) -> NSArray* {
                        auto contents = foundation::readPropertyListFile(objc::utf8(path));
                        auto* array = foundation::as<NSArray>(contents.get());
                        if (!array) {
                            objc_release(self);
                            return nullptr;
                        }
                        self->objects_ = array->objects_;
                        return self;
                    })
            .method(sel<"count">(), [](NSArray* self, SEL) -> NSUInteger { return self->objects_.size(); })
            .method(sel<"objectAtIndex:">(),
                    [](NSArray* self, SEL sel, NSUInteger index) -> id {
                        checkIndex(self, sel, index, self->objects_.size());
                        return self->objects_[index].get();
                    })
            .method(sel<"objectAtIndexedSubscript:">(),
                    [](NSArray* self, SEL sel, NSUInteger index) -> id {
                        checkIndex(self, sel, index, self->objects_.size());
                        return self->objects_[index].get();
                    })
            .method(sel<"firstObject">(),
                    [](NSArray* self, SEL) -> id { return self->objects_.empty() ? nullptr : self->objects_.front().get(); })
            .method(sel<"lastObject">(),
                    [](NSArray* self, SEL) -> id { return self->objects_.empty() ? nullptr : self->objects_.back().get(); })
            .method(sel<"containsObject:">(),
                    [](NSArray* self, SEL, id object) -> BOOL { return indexOf(self, object) != static_cast<NSUInteger>(NSNotFound); })
            .method(sel<"indexOfObject:">(), [](NSArray* self, SEL, id object) -> NSUInteger { return indexOf(self, object); })
            .method(sel<"componentsJoinedByString:">(),
                    [](NSArray* self, SEL, NSString* separator) -> NSString* {
                        std::string out;
                        for (std::size_t i = 0; i < self->objects_.size(); ++i) {
                            if (i) out += objc::utf8(separator);
                            out += foundation::describe(self->objects_[i].get());
                        }
                        return objc::str(out);
                    })
            .method(sel<"arrayByAddingObject:">(),
                    [](NSArray* self, SEL sel, id object) {
                        Objects objects = self->objects_;
                        objects.push_back(checkedObject(self, sel, object));
                        return autoreleased(create(std::move(objects)));
                    })
            .method(sel<"isEqual:">(),
                    [](NSArray* self, SEL, id other) -> BOOL {
                        auto* array = foundation::as<NSArray>(other);
                        return array && equalArrays(self, array);
                    })
            .method(sel<"isEqualToArray:">(), [](NSArray* self, SEL, NSArray* other) -> BOOL { return other && equalArrays(self, other); })
            .method(sel<"hash">(), [](NSArray* self, SEL) -> NSUInteger { return self->objects_.size(); })
            .method(sel<"description">(), [](NSArray* self, SEL) { return objc::str(foundation::describeCollection(self)); })
            .method(sel<"copy">(),
                    [](NSArray* self, SEL) -> id {
                        if (object_getClass(self) == gNSArray) return objc_retain(self);
                        return create(self->objects_).release();
                    })
            .method(sel<"mutableCopy">(), [](NSArray* self, SEL) -> id { return create(self->objects_, gNSMutableArray).release(); })
            .method(sel<"writeToFile:atomically:">(),
                    [](NSArray* self, SEL, NSString* path, BOOL atomically) -> BOOL {
                        return foundation::writePropertyListFile(self, objc::utf8(path), atomically);
                    })
            .registerClass();
}

void NSMutableArray::registerClass() {
    gNSMutableArray =
        objc::ClassBuilder<NSMutableArray>("NSMutableArray", gNSArray)
            .method(sel<"addObject:">(),
                    [](NSMutableArray* self, SEL sel, id object) { self->objects_.push_back(checkedObject(self, sel, object)); })
            .method(sel<"addObjectsFromArray:">(),
                    [](NSMutableArray* self, SEL, NSArray* other) {
                        if (!other) return;
                        Objects added = other->objects();  // a copy first: `other` may be this array
                        self->objects_.insert(self->objects_.end(), added.begin(), added.end());
                    })
            .method(sel<"insertObject:atIndex:">(),
                    [](NSMutableArray* self, SEL sel, id object, NSUInteger index) {
                        auto held = checkedObject(self, sel, object);
                        checkIndex(self, sel, index, self->objects_.size() + 1);
                        self->objects_.insert(self->objects_.begin() + static_cast<std::ptrdiff_t>(index), std::move(held));
                    })
            .method(sel<"replaceObjectAtIndex:withObject:">(),
                    [](NSMutableArray* self, SEL sel, NSUInteger index, id object) {
                        auto held = checkedObject(self, sel, object);
                        checkIndex(self, sel, index, self->objects_.size());
                        self->objects_[index] = std::move(held);
                    })
            .method(sel<"removeObjectAtIndex:">(),
                    [](NSMutableArray* self, SEL sel, NSUInteger index) {
                        checkIndex(self, sel, index, self->objects_.size());
                        // The element may own this array's last other reference; release it after the erase.
                        auto removed = std::move(self->objects_[index]);
                        self->objects_.erase(self->objects_.begin() + static_cast<std::ptrdiff_t>(index));
                    })
            .method(sel<"removeObject:">(),
                    [](NSMutableArray* self, SEL, id object) {
                        Objects kept, removed;
                        for (auto& item : self->objects_) (equalObjects(item.get(), object) ? removed : kept).push_back(std::move(item));
                        self->objects_ = std::move(kept);
                    })
            .method(sel<"removeLastObject">(),
                    [](NSMutableArray* self, SEL) {
                        if (self->objects_.empty()) return;
                        auto removed = std::move(self->objects_.back());
                        self->objects_.pop_back();
                    })
            .method(sel<"removeAllObjects">(),
                    [](NSMutableArray* self, SEL) {
                        Objects removed = std::move(self->objects_);
                        self->objects_.clear();
                    })
            .registerClass();
}
