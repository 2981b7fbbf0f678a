// The runtime's method lock: a mutex that, in debug builds, knows which thread holds it.
#pragma once

#include <atomic>
#include <cassert>
#include <mutex>
#include <thread>

namespace objc::detail {

// Functions that must run with the lock held (named *Locked, or saying "called with methodLock
// held") open with assertLocked(), so that a caller that forgot the lock stops a debug build at
// once instead of racing a reader. Release builds keep a plain mutex.
class OwnedMutex {
public:
    void lock() {
        mutex_.lock();
#ifndef NDEBUG
        owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
#endif
    }
    void unlock() {
#ifndef NDEBUG
        owner_.store(std::thread::id(), std::memory_order_relaxed);
#endif
        mutex_.unlock();
    }

#ifndef NDEBUG
    bool heldByThisThread() const { return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id(); }
#endif
    void assertLocked() const { assert(heldByThisThread() && "called without the runtime's method lock"); }

private:
    std::mutex mutex_;
#ifndef NDEBUG
    // Only the holder writes its own id; any other thread reads something that is not its id.
    std::atomic<std::thread::id> owner_{};
#endif
};

}  // namespace objc::detail
