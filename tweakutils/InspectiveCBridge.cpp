// The message-tracing bridge: one-time loading of the tracing library and the forwarding exports.
#include "InspectiveCBridge.h"

#include <Foundation/NSLog.h>
#include <device/libc.h>
#include <dispatch/once.h>
#include <objc/Strong.h>

namespace {

constexpr const char* kLibraryPath = "/usr/lib/libinspectivec.dylib";

// The slots, in the order they are filled, and the library symbol behind each.
enum Slot {
    kSetMaximumRelativeLoggingDepth,
    kWatchObject,
    kUnwatchObject,
    kWatchSelectorOnObject,
    kUnwatchSelectorOnObject,
    kWatchClass,
    kUnwatchClass,
    kWatchSelectorOnClass,
    kUnwatchSelectorOnClass,
    kWatchSelector,
    kUnwatchSelector,
    kEnableLogging,
    kDisableLogging,
    kEnableCompleteLogging,
    kDisableCompleteLogging,
    kFlushLogFile,
    kSlotCount
};

constexpr const char* kSymbols[kSlotCount] = {
    "InspectiveC_setMaximumRelativeLoggingDepth",
    "InspectiveC_watchObject",
    "InspectiveC_unwatchObject",
    "InspectiveC_watchSelectorOnObject",
    "InspectiveC_unwatchSelectorOnObject",
    "InspectiveC_watchInstancesOfClass",
    "InspectiveC_unwatchInstancesOfClass",
    "InspectiveC_watchSelectorOnInstancesOfClass",
    "InspectiveC_unwatchSelectorOnInstancesOfClass",
    "InspectiveC_watchSelector",
    "InspectiveC_unwatchSelector",
    "InspectiveC_enableLogging",
    "InspectiveC_disableLogging",
    "InspectiveC_enableCompleteLogging",
    "InspectiveC_disableCompleteLogging",
    "InspectiveC_flushLogFile",
};

// Written only inside the once block; dispatch_once publishes them to every later caller.
dispatch_once_t gOnce;
void* gHandle;  // never closed: the slots point into it
void* gSlots[kSlotCount];

void loadLibrary() {
    gHandle = device::dlopen(kLibraryPath, RTLD_NOW);
    if (!gHandle) {
        NSLog("[InspectiveC Wrapper] Unable to load libinspectivec! Error: %s", device::dlerror());
        return;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        gSlots[i] = device::dlsym(gHandle, kSymbols[i]);
        if (!gSlots[i]) NSLog("[InspectiveC Wrapper] Unable to load function %s! Error: %s", kSymbols[i], device::dlerror());
    }
}

// The library's function for `slot`, typed for its arguments, after the one-time loading; nil
// when the library or the function is missing.
template <class... A>
auto function(Slot slot) {
    dispatch_once(&gOnce, loadLibrary);
    return reinterpret_cast<void (*)(A...)>(gSlots[slot]);
}

template <class... A>
void forward(Slot slot, A... arguments) {
    if (auto f = function<A...>(slot)) f(arguments...);
}

// The object stays alive until the library returns, even if the caller's last reference
// goes away meanwhile on another thread.
template <class... A>
void forwardObject(Slot slot, id obj, A... arguments) {
    auto f = function<id, A...>(slot);
    if (!f) return;
    objc::Strong<objc_object> held = objc::retain(obj);
    f(held.get(), arguments...);
}

}  // namespace

void setMaximumRelativeLoggingDepth(int depth) { forward(kSetMaximumRelativeLoggingDepth, depth); }
void watchObject(id obj) { forwardObject(kWatchObject, obj); }
void unwatchObject(id obj) { forwardObject(kUnwatchObject, obj); }
void watchSelectorOnObject(id obj, SEL selector) { forwardObject(kWatchSelectorOnObject, obj, selector); }
void unwatchSelectorOnObject(id obj, SEL selector) { forwardObject(kUnwatchSelectorOnObject, obj, selector); }
void watchClass(Class cls) { forward(kWatchClass, cls); }
void unwatchClass(Class cls) { forward(kUnwatchClass, cls); }
void watchSelectorOnClass(Class cls, SEL selector) { forward(kWatchSelectorOnClass, cls, selector); }
void unwatchSelectorOnClass(Class cls, SEL selector) { forward(kUnwatchSelectorOnClass, cls, selector); }
void watchSelector(SEL selector) { forward(kWatchSelector, selector); }
void unwatchSelector(SEL selector) { forward(kUnwatchSelector, selector); }
void enableLogging() { forward(kEnableLogging); }
void disableLogging() { forward(kDisableLogging); }
void enableCompleteLogging() { forward(kEnableCompleteLogging); }
void disableCompleteLogging() { forward(kDisableCompleteLogging); }
void flushLogFile() { forward(kFlushLogFile); }
