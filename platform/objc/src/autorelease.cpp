// Autorelease pools: a per-thread stack of objects released when their pool scope ends.
#include <objc/runtime.h>

#include <mutex>
#include <vector>

namespace {

// Objects autoreleased with no pool in place are released when their thread ends.
struct ThreadPool {
    std::vector<id> objects;
    ~ThreadPool();
};

// Whether this thread's pool has been drained by the thread's end. Plain, so that it outlives
// every destructor the thread runs after the pool's.
thread_local bool tPoolGone = false;

ThreadPool::~ThreadPool() {
    while (!objects.empty()) {
        id obj = objects.back();
        objects.pop_back();
        objc_release(obj);
    }
    tPoolGone = true;
}

ThreadPool& threadPool() {
    thread_local ThreadPool pool;
    return pool;
}

// Objects autoreleased after their thread's pool has gone (by destructors running at the thread's
// or the program's end). Releasing one then would free it under a caller that has yet to use it,
// so each is kept, reachable, for as long as the process lives.
void keepPastThreadEnd(id obj) {
    static std::mutex lock;
    static auto* kept = new std::vector<id>;
    std::lock_guard guard(lock);
    kept->push_back(obj);
}

}  // namespace

id objc_autorelease(id obj) {
    if (!obj) return obj;
    if (tPoolGone)
        keepPastThreadEnd(obj);
    else
        threadPool().objects.push_back(obj);
    return obj;
}

void* objc_autoreleasePoolPush() { return tPoolGone ? nullptr : reinterpret_cast<void*>(threadPool().objects.size()); }

void objc_autoreleasePoolPop(void* token) {
    if (tPoolGone) return;
    auto mark = reinterpret_cast<std::size_t>(token);
    auto& objects = threadPool().objects;
    // Releasing may autorelease more objects into this pool; they are drained too.
    while (objects.size() > mark) {
        id obj = objects.back();
        objects.pop_back();
        objc_release(obj);
    }
}
