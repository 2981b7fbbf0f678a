// Watching the hooking service: a host that loads tweaks can learn which methods they replaced.
#pragma once

#include <objc/runtime.h>

namespace platform {

// Called once per MSHookMessageEx call, on the calling thread, after the call did its work:
// with the class it was given (nil when the tweak's class lookup found nothing; a metaclass for
// a class method), the selector, and whether the replacement is now the class's implementation.
using HookObserver = void (*)(Class cls, SEL selector, bool installed);

// One observer per process; nil stops observing. The observer must not hook methods itself.
void setHookObserver(HookObserver observer);

}  // namespace platform
