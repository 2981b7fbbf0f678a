// MSHookMessageEx over the runtime's public method calls.
#include <substrate/substrate.h>

#include "HookObserver.h"

#include <cstdio>

namespace {

void reportNotHooked(Class cls, SEL selector, const char* why) {
    std::fprintf(stderr, "MSHookMessageEx: %c[%s %s] not hooked: %s\n", class_isMetaClass(cls) ? '+' : '-', class_getName(cls),
                 sel_getName(selector), why);
}

// The saved implementation is published before the replacement becomes reachable, so a
// replacement called on another thread the moment it is installed never finds its slot empty.
void swapOwnImplementation(Method own, IMP replacement, IMP* result) {
    IMP previous = method_getImplementation(own);
    if (result) *result = previous;
    IMP displaced = method_setImplementation(own, replacement);
    // Someone else replaced it in between; what we displaced is what we must call through to.
    if (displaced != previous && result) *result = displaced;
}

}  // namespace

void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result) {
    platform::detail::HookCallReport report(cls, selector, replacement);
    if (!cls) return;
    if (!selector || !replacement) {
        reportNotHooked(cls, selector, selector ? "the replacement is nil" : "the selector is nil");
        return;
    }
    if (Method own = class_getOwnMethod(cls, selector)) {
        swapOwnImplementation(own, replacement, result);
        return;
    }
    Method inherited = class_getInstanceMethod(cls, selector);
    if (!inherited) {
        // Adding a method nobody implements would give callers a signature we can only guess.
        reportNotHooked(cls, selector, "neither the class nor any superclass implements it");
        return;
    }
    IMP inheritedImplementation = method_getImplementation(inherited);
    if (result) *result = inheritedImplementation;
    if (class_addMethod(cls, selector, replacement, method_getTypeEncoding(inherited))) return;
    // The class gained a method of its own since we looked: hook that one instead.
    if (Method own = class_getOwnMethod(cls, selector)) swapOwnImplementation(own, replacement, result);
}
