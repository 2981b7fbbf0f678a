// The hooking service's side of the hook observer: one report per MSHookMessageEx call.
#pragma once

#include <objc/runtime.h>

namespace platform::detail {

// Reports the call to the observer when it leaves scope, whichever way MSHookMessageEx returns.
class HookCallReport {
public:
    HookCallReport(Class cls, SEL selector, IMP replacement) : cls_(cls), selector_(selector), replacement_(replacement) {}
    ~HookCallReport();
    HookCallReport(const HookCallReport&) = delete;
    HookCallReport& operator=(const HookCallReport&) = delete;

private:
    Class cls_;
    SEL selector_;
    IMP replacement_;
};

}  // namespace platform::detail
