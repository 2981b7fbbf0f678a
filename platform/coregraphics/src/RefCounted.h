// Reference counting shared by the Core Graphics value types, and an owning pointer to them.
#pragma once

#include <atomic>
#include <utility>

namespace cg {

// Objects start with one reference, owned by whoever created them.
struct RefCounted {
    std::atomic<long> references{1};
    virtual ~RefCounted() = default;
};

template <class T>
T* retain(T* object) {
    if (object) object->references.fetch_add(1, std::memory_order_relaxed);
    return object;
}

template <class T>
void release(T* object) {
    if (object && object->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete object;
}

// Holds one reference; `adopt` takes over an owned one, `share` retains a borrowed one.
template <class T>
class Ref {
public:
    Ref() = default;
    static Ref adopt(T* owned) { Ref r; r.object_ = owned; return r; }
    static Ref share(T* borrowed) { return adopt(retain(borrowed)); }
    Ref(const Ref& other) : object_(retain(other.object_)) {}
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Ref& operator=(Ref other) { std::swap(object_, other.object_); return *this; }
    ~Ref() { release(object_); }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Gives up the reference to the caller.
    T* leak() { return std::exchange(object_, nullptr); }

private:
    T* object_ = nullptr;
};

}  // namespace cg
