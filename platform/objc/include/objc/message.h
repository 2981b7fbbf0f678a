// Message sending: typed sends checked against method signatures, selector literals, nil messaging.
#pragma once

#include <objc/encoding.h>
#include <objc/runtime.h>

#include <type_traits>

namespace objc {

namespace detail {

struct MethodCache {
    std::uintptr_t mask;          // capacity - 1; capacity is a power of two
    std::atomic<Method>* slots;   // capacity slots, allocated right after this header
};

inline std::uintptr_t selectorHash(SEL sel) { return reinterpret_cast<std::uintptr_t>(sel) >> 3; }

// The lock-free probe of a class's method cache: every slot holds a method whose name is
// immutable, so a reader that sees a slot sees a whole method.
inline Method cachedMethod(Class cls, SEL sel) {
    MethodCache* cache = cls->cache.load(std::memory_order_acquire);
    if (!cache) return nullptr;
    std::uintptr_t mask = cache->mask;
    std::uintptr_t i = selectorHash(sel) & mask;
    Method m = cache->slots[i].load(std::memory_order_acquire);
    if (m && m->name == sel) [[likely]] return m;  // a selector mostly sits in its own slot
    for (std::uintptr_t probes = 0; m && probes < mask; ++probes) {
        i = (i + 1) & mask;
        m = cache->slots[i].load(std::memory_order_acquire);
        if (m && m->name == sel) return m;
    }
    return nullptr;
}

// Slow path: walks the superclass chain, fills the cache, or raises for an unknown selector.
Method lookUpMethodOrForward(id receiver, SEL sel);

// Interns signature text so that equal signatures compare by pointer.
const char* internTypes(std::string_view types);

[[noreturn]] void signatureMismatch(id receiver, SEL sel, const char* methodTypes, const char* callTypes);

template <class R, class... A>
const char* internedSignature() {
    static const char* const interned = internTypes(Signature<R, A...>::value.view());
    return interned;
}

template <class T>
inline Erased<T> erase(T value) {
    if constexpr (ObjectPointer<T>) return static_cast<id>(const_cast<std::remove_cv_t<std::remove_pointer_t<T>>*>(value));
    else return value;
}

template <class T>
inline T unerase(Erased<T> value) {
    if constexpr (ObjectPointer<T>) return static_cast<T>(value);
    else return value;
}

}  // namespace detail

// Finds the implementation that `receiver` runs for `sel`, checked against the caller's
// signature. A mismatch is a programming error and aborts, naming both signatures.
template <class R, class... A>
inline IMP lookUpTyped(id receiver, SEL sel) {
    Method m = detail::cachedMethod(receiver->isa, sel);
    if (!m) m = detail::lookUpMethodOrForward(receiver, sel);
    if (m->typesHash != Signature<R, A...>::hash) [[unlikely]]
        detail::signatureMismatch(receiver, sel, m->types, detail::internedSignature<R, A...>());
    return m->imp.load(std::memory_order_acquire);
}

// Sends `sel` to `receiver` with `args`; R is the method's return type. A message to nil
// returns the zero value of R and evaluates nothing else.
template <class R = void, class Receiver, class... A>
inline R msg(Receiver receiver, SEL sel, A... args) {
    static_assert(std::is_pointer_v<Receiver>, "messages go to object pointers");
    id self = static_cast<id>(const_cast<std::remove_cv_t<std::remove_pointer_t<Receiver>>*>(receiver));
    if (!self) {
        if constexpr (std::is_void_v<R>) return;
        else return R{};
    }
    using Fn = Erased<R> (*)(id, SEL, Erased<A>...);
    auto fn = reinterpret_cast<Fn>(lookUpTyped<R, A...>(self, sel));
    if constexpr (std::is_void_v<R>) fn(self, sel, detail::erase<A>(args)...);
    else return detail::unerase<R>(fn(self, sel, detail::erase<A>(args)...));
}

// Calls a saved implementation (for instance a hook's original) directly.
template <class R = void, class Receiver, class... A>
inline R callIMP(IMP imp, Receiver receiver, SEL sel, A... args) {
    using Fn = Erased<R> (*)(id, SEL, Erased<A>...);
    id self = static_cast<id>(const_cast<std::remove_cv_t<std::remove_pointer_t<Receiver>>*>(receiver));
    auto fn = reinterpret_cast<Fn>(imp);
    if constexpr (std::is_void_v<R>) fn(self, sel, detail::erase<A>(args)...);
    else return detail::unerase<R>(fn(self, sel, detail::erase<A>(args)...));
}

}  // namespace objc

// A selector literal, interned once per call site: sel<"setImage:forState:">().
template <objc::FixedString Name>
inline SEL sel() {
    static const SEL interned = sel_registerName(Name.data);
    return interned;
}

using objc::msg;
