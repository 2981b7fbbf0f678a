// Name tests, kind tests against classes looked up by name once, and the responder owner of a view.
#pragma once

#include <objc/runtime.h>

#include <atomic>
#include <string_view>

namespace obscuro {

// A class the running app may or may not have, looked up by runtime name at first use and
// remembered for the life of the process; while it is absent the lookup is repeated, and
// every kind test against it is false. Constant-initialised, so it needs no initialiser.
class RememberedClass {
public:
    constexpr explicit RememberedClass(const char* runtimeName) : name_(runtimeName) {}
    Class get() const;
    bool isKindOf(id obj) const;

private:
    const char* name_;
    mutable std::atomic<Class> cls_{nullptr};
};

// Whether NSStringFromClass of `cls` equals `readableName` exactly: a simple Swift class
// registered as "_TtC5Music4View" reads as "Music.View". Allocates nothing.
bool classNameIs(Class cls, std::string_view readableName);
inline bool classNameIs(id obj, std::string_view readableName) {
    return obj && classNameIs(object_getClass(obj), readableName);
}

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
