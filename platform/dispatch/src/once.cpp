// The contended path of dispatch_once: one caller runs the block, the others wait on the predicate.
#include <dispatch/once.h>

#include <cstdio>

namespace platform::detail {

namespace {
constexpr long kUnclaimed = 0;
constexpr long kRunning = 1;
}  // namespace

void runOnce(dispatch_once_t* predicate, const std::function<void()>& block) {
    std::atomic_ref<long> state(*predicate);
    for (;;) {
        long seen = kUnclaimed;
        if (state.compare_exchange_strong(seen, kRunning, std::memory_order_acquire)) break;
        if (seen == kOnceDone) return;
        if (seen != kRunning) {
            // Not a predicate dispatch_once ever wrote: running the block could repeat it.
            std::fprintf(stderr, "dispatch_once: predicate %p holds %ld, not a once state; the block is not run\n",
                         static_cast<void*>(predicate), seen);
            return;
        }
        state.wait(kRunning, std::memory_order_acquire);
    }
    try {
        block();
    } catch (...) {
        state.store(kUnclaimed, std::memory_order_release);
        state.notify_all();
        throw;
    }
    state.store(kOnceDone, std::memory_order_release);
    state.notify_all();
}

}  // namespace platform::detail

void dispatch_once_f(dispatch_once_t* predicate, void* context, dispatch_function_t function) {
    dispatch_once(predicate, [&] { function(context); });
}
