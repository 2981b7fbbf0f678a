// Reference counting, instance destruction, and the root class NSObject.
#include "runtime_internal.h"

#include <objc/NSObject.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr long kImmortalThreshold = 1L << 59;

// Releases the strong ("@") instance variables that classes added at run time, then runs
// the C++ destructor of the instance's layout and frees its memory.
void destroyInstance(id obj) {
    Class cls = obj->isa;
    std::vector<id> strongIvars;
    std::size_t alignment;
    {
        std::lock_guard lock(objc::detail::runtime().methodLock);
        alignment = cls->data->alignment;
        for (Class c = cls; c; c = c->superclass)
            for (auto& ivar : c->data->ivars)
                if (ivar->type[0] == '@') strongIvars.push_back(object_getIvar(obj, ivar.get()));
    }
    for (id value : strongIvars) objc_release(value);
    obj->~objc_object();
    ::operator delete(static_cast<void*>(obj), std::align_val_t(alignment));
}

}  // namespace

id objc_retain(id obj) {
    if (!obj) return nil;
    long previous = obj->retainCount_.fetch_add(1, std::memory_order_relaxed);
    if (previous <= 0) {
        std::fprintf(stderr, "objc: retain of a deallocated %s instance %p\n", class_getName(obj->isa), static_cast<void*>(obj));
        std::abort();
    }
    return obj;
}

void objc_release(id obj) {
    if (!obj) return;
    long previous = obj->retainCount_.load(std::memory_order_relaxed);
    if (previous >= kImmortalThreshold) return;
    previous = obj->retainCount_.fetch_sub(1, std::memory_order_acq_rel);
    if (previous == 1) {
        destroyInstance(obj);
    } else if (previous <= 0) {
        std::fprintf(stderr, "objc: over-release of a %s instance %p\n", class_getName(obj->isa), static_cast<void*>(obj));
        std::abort();
    }
}

long objc_retainCount(id obj) { return obj ? obj->retainCount_.load(std::memory_order_relaxed) : 0; }

// --- NSObject -----------------------------------------------------------------------------

namespace {
Class gNSObject = nullptr;
}

Class NSObject::class_() { return gNSObject; }

namespace objc {

void registerRootClass() {
    using objc::ClassBuilder;
    gNSObject = ClassBuilder<NSObject>("NSObject", nullptr)
                    .classMethod(sel<"alloc">(), [](Class self, SEL) -> id { return class_createInstance(self); })
                    .classMethod(sel<"new">(), [](Class self, SEL) -> id { return msg<id>(class_createInstance(self), sel<"init">()); })
                    .classMethod(sel<"class">(), [](Class self, SEL) { return self; })
                    .classMethod(sel<"superclass">(), [](Class self, SEL) { return class_getSuperclass(self); })
                    .method(sel<"init">(), [](id self, SEL) { return self; })
                    .method(sel<"self">(), [](id self, SEL) { return self; })
                    .method(sel<"class">(), [](id self, SEL) { return object_getClass(self); })
                    .method(sel<"superclass">(), [](id self, SEL) { return class_getSuperclass(object_getClass(self)); })
                    .method(sel<"retain">(), [](id self, SEL) { return objc_retain(self); })
                    .method(sel<"release">(), [](id self, SEL) { objc_release(self); })
                    .method(sel<"autorelease">(), [](id self, SEL) { return objc_autorelease(self); })
                    .method(sel<"isKindOfClass:">(), [](id self, SEL, Class cls) { return object_isKindOfClass(self, cls); })
                    .method(sel<"isMemberOfClass:">(), [](id self, SEL, Class cls) { return object_getClass(self) == cls; })
                    .method(sel<"respondsToSelector:">(),
                            [](id self, SEL, SEL s) { return class_respondsToSelector(object_getClass(self), s); })
                    .method(sel<"isEqual:">(), [](id self, SEL, id other) { return self == other; })
                    .method(sel<"hash">(), [](id self, SEL) { return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(self)); })
                    .registerClass();
}

}  // namespace objc
