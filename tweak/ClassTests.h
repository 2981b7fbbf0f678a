// Name tests, kind tests against classes looked up by name once, and the responder owner of a view.
#pragma once

#include <objc/runtime.h>

#include <atomic>
#include <string_view>

namespace obscuro {

// A class the running app may or may not have, looked up by runtime name at first use and
// remembered for the life of the process; while it is absent the lookup is repeated (once the
// class table has changed since the last one), and every kind test against it is false.
// Constant-initialised, so it needs no initialiser.
class RememberedClass {
public:
    constexpr explicit RememberedClass(const char* runtimeName) : name_(runtimeName) {}
    Class get() const {
        Class cls = cls_.load(std::memory_order_acquire);
        return cls ? cls : lookUp();
    }
    bool isKindOf(id obj) const {
        Class cls = get();
        return cls && object_isKindOfClass(obj, cls);
    }

private:
    Class lookUp() const;

    const char* name_;
    mutable std::atomic<Class> cls_{nullptr};
    // One more than the class-table generation of the last lookup that failed; 0 before any.
    mutable std::atomic<unsigned long> missedAt_{0};
};

// The names a class answers to in name tests, read once from its runtime name so that a
// series of tests against one class costs a comparison each: the runtime name itself, and for
// a simple Swift class ("_TtC5Music4View") its dotted form ("Music.View"). Allocates nothing;
// valid as long as the class.
class ClassName {
public:
    explicit ClassName(Class cls);
    // Whether NSStringFromClass of the class equals `readableName` exactly; false for nil.
    bool is(std::string_view readableName) const;

private:
    std::string_view runtime_;
    std::string_view module_, name_;  // of a simple Swift name; both empty otherwise
};

// Whether NSStringFromClass of `cls` equals `readableName` exactly: a simple Swift class
// registered as "_TtC5Music4View" reads as "Music.View". Allocates nothing.
inline bool classNameIs(Class cls, std::string_view readableName) { return ClassName(cls).is(readableName); }
inline bool classNameIs(id obj, std::string_view readableName) {
    return obj && classNameIs(object_getClass(obj), readableName);
}

// A kind test against a class the app links, which is always there.
inline bool isKind(id obj, const char* linkedClass) { return object_isKindOfClass(obj, objc_getClass(linkedClass)); }

// Whether NSStringFromClass of `cls` begins with "_" (UIKit's private classes).
bool classNameBeginsWithUnderscore(Class cls);

// The class of the first responder above `view`, through nextResponder, that is not a
// view (normally the owning view controller); nil when the chain ends first.
Class responderOwnerClass(id view);
inline bool responderOwnerIs(id view, std::string_view readableName) {
    Class owner = responderOwnerClass(view);
    return owner && classNameIs(owner, readableName);
}

}  // namespace obscuro
