// Strong references: a smart pointer that owns one retain of an object, and the autorelease pool scope.
#pragma once

#include <objc/runtime.h>

#include <utility>

namespace objc {

// Owns one reference. `adopt` takes over a reference the caller already owns (a new
// object, the result of alloc/new/copy); `retain` takes a new one on a borrowed object.
template <class T>
class Strong {
public:
    Strong() = default;
    Strong(std::nullptr_t) {}
    Strong(const Strong& other) : ptr_(other.ptr_) { objc_retain(asId()); }
    Strong(Strong&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    template <class U>
        requires std::is_convertible_v<U*, T*>
    Strong(const Strong<U>& other) : ptr_(other.get()) { objc_retain(asId()); }
    ~Strong() { objc_release(asId()); }

    static Strong adopt(T* owned) { return Strong(owned); }
    static Strong retain(T* borrowed) {
        objc_retain(static_cast<id>(const_cast<std::remove_cv_t<T>*>(borrowed)));
        return Strong(borrowed);
    }

    Strong& operator=(Strong other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }

    T* get() const { return ptr_; }
    operator T*() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    // Gives up ownership without releasing: the caller now owns the reference.
    [[nodiscard]] T* release() { return std::exchange(ptr_, nullptr); }

private:
    explicit Strong(T* owned) : ptr_(owned) {}
    id asId() const { return static_cast<id>(const_cast<std::remove_cv_t<T>*>(ptr_)); }
    T* ptr_ = nullptr;
};

template <class T>
Strong<T> adopt(T* owned) {
    return Strong<T>::adopt(owned);
}

template <class T>
Strong<T> retain(T* borrowed) {
    return Strong<T>::retain(borrowed);
}

// Hands a +1 object to the current autorelease pool and returns it borrowed.
template <class T>
T* autorelease(T* owned) {
    objc_autorelease(static_cast<id>(owned));
    return owned;
}

// Objects autoreleased inside the scope are released when it ends.
class AutoreleasePool {
public:
    AutoreleasePool() : token_(objc_autoreleasePoolPush()) {}
    ~AutoreleasePool() { objc_autoreleasePoolPop(token_); }
    AutoreleasePool(const AutoreleasePool&) = delete;
    AutoreleasePool& operator=(const AutoreleasePool&) = delete;

private:
    void* token_;
};

}  // namespace objc
