// The hook observer: who is told about each MSHookMessageEx call, and whether it took.
#include <substrate/HookObserver.h>

#include "HookObserver.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<HookObserver> gObserver{nullptr};
}  // namespace

void setHookObserver(HookObserver observer) { gObserver.store(observer, std::memory_order_release); }

namespace detail {

// Judged from the class afterwards rather than from the path taken, so every way the call can
// end (own method swapped, method added, nothing done) is told alike.
HookCallReport::~HookCallReport() {
    HookObserver observer = gObserver.load(std::memory_order_acquire);
    if (!observer) return;
    Method own = cls_ && selector_ ? class_getOwnMethod(cls_, selector_) : nullptr;
    observer(cls_, selector_, own && replacement_ && method_getImplementation(own) == replacement_);
}

}  // namespace detail

}  // namespace platform
