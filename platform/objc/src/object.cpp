// Reference counting, instance destruction, and the root class NSObject.
#include "runtime_internal.h"

#include <objc/NSObject.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>

// Debug builds keep the memory of the most recently destroyed objects for a while, so that a
// release or retain of one finds its count at zero and stops the program naming the class,
// instead of decrementing whatever the allocator put there. AddressSanitizer builds leave
// this to the sanitizer, whose own quarantine also catches every other use of a dead object.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OBJC_SANITIZER_QUARANTINE 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define OBJC_SANITIZER_QUARANTINE 1
#endif
#if !defined(NDEBUG) && !defined(OBJC_SANITIZER_QUARANTINE)
#define OBJC_DEAD_OBJECT_CHECK 1
#endif

namespace {

constexpr long kImmortalThreshold = 1L << 59;

void freeInstanceMemory(id obj, std::size_t alignment) { ::operator delete(static_cast<void*>(obj), std::align_val_t(alignment)); }

#ifdef OBJC_DEAD_OBJECT_CHECK
// The last kDeadObjects destroyed objects, oldest first; their memory is freed as they leave.
constexpr std::size_t kDeadObjects = 4096;

struct DeadObjects {
    std::mutex lock;
    std::deque<std::pair<id, std::size_t>> objects;
};

DeadObjects& deadObjects() {
    static auto* dead = new DeadObjects;  // immortal: objects die during static destruction too
    return *dead;
}

// Called with the object destroyed and its count at zero.
void retire(id obj, std::size_t alignment) {
    std::pair<id, std::size_t> leaving{nullptr, 0};
    {
        DeadObjects& dead = deadObjects();
        std::lock_guard guard(dead.lock);
        dead.objects.emplace_back(obj, alignment);
        if (dead.objects.size() > kDeadObjects) {
            leaving = dead.objects.front();
            dead.objects.pop_front();
        }
    }
    if (leaving.first) freeInstanceMemory(leaving.first, leaving.second);
}
#else
void retire(id obj, std::size_t alignment) { freeInstanceMemory(obj, alignment); }
#endif

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
    retire(obj, alignment);
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
