// Autorelease pools: a per-thread stack of objects released when their pool scope ends.
#include <objc/runtime.h>

#include <vector>

namespace {

// Objects autoreleased with no pool in place are released when their thread ends.
struct ThreadPool {
    std::vector<id> objects;
    ~ThreadPool() {
        while (!objects.empty()) {
            id obj = objects.back();
            objects.pop_back();
            objc_release(obj);
        }
    }
};

ThreadPool& threadPool() {
    thread_local ThreadPool pool;
    return pool;
}

}  // namespace

id objc_autorelease(id obj) {
    if (obj) threadPool().objects.push_back(obj);
    return obj;
}

void* objc_autoreleasePoolPush() { return reinterpret_cast<void*>(threadPool().objects.size()); }

void objc_autoreleasePoolPop(void* token) {
    auto mark = reinterpret_cast<std::size_t>(token);
    auto& objects = threadPool().objects;
    // Releasing may autorelease more objects into this pool; they are drained too.
    while (objects.size() > mark) {
        id obj = objects.back();
        objects.pop_back();
        objc_release(obj);
    }
}
