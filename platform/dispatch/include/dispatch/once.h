// dispatch_once: run a block exactly once per predicate, with concurrent first callers waiting for it.
#pragma once

#include <atomic>
#include <functional>
#include <type_traits>
#include <utility>

// A predicate must be zero (static storage zeroes it) before its first use and must not
// be written by anything but dispatch_once.
using dispatch_once_t = long;

using dispatch_function_t = void (*)(void* context);

namespace platform::detail {

inline constexpr long kOnceDone = ~0L;

// The slow path: claims the predicate or waits for the caller that claimed it.
void runOnce(dispatch_once_t* predicate, const std::function<void()>& block);

}  // namespace platform::detail

// Runs `block` the first time it is called with `predicate`; every later call, and every
// concurrent caller of the first one, returns only after the block has returned, and sees
// everything it wrote. A block that throws has not run: the exception reaches its caller,
// and the next call tries again.
template <class Block>
    requires std::is_invocable_v<Block&>
inline void dispatch_once(dispatch_once_t* predicate, Block&& block) {
    if (std::atomic_ref<long>(*predicate).load(std::memory_order_acquire) == platform::detail::kOnceDone) return;
    platform::detail::runOnce(predicate, std::function<void()>(std::ref(block)));
}

// The C form: calls `function(context)` once.
void dispatch_once_f(dispatch_once_t* predicate, void* context, dispatch_function_t function);
