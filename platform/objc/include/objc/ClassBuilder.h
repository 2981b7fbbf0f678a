// Declaring classes from C++: a C++ type gives the instance layout, lambdas give the methods.
#pragma once

#include <objc/invoke.h>
#include <objc/message.h>

#include <new>
#include <type_traits>

namespace objc {

namespace detail {

using Constructor = id (*)(void* memory);

// Registers a class whose instances are the C++ type described by size, alignment and
// constructor. Returns the new class, not yet registered (see ClassBuilder::registerClass).
Class allocateCxxClassPair(Class superclass, const char* name, std::size_t size, std::size_t alignment, Constructor construct);

// Reads a typed object argument: an object that is not of the expected kind arrives as nil,
// so that stock code never reads one class's state from another class's instance.
template <class T>
T checkedArgument(Erased<T> value) {
    if constexpr (ObjectPointer<T> && !std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, objc_object>) {
        using Pointee = std::remove_cv_t<std::remove_pointer_t<T>>;
        return object_isKindOfClass(value, Pointee::class_()) ? static_cast<T>(value) : nullptr;
    } else {
        return value;
    }
}

template <class F, class Self, class R, class... A>
struct Trampoline {
    static Erased<R> call(id self, SEL cmd, Erased<A>... args) {
        Self typedSelf = static_cast<Self>(self);
        if constexpr (std::is_void_v<R>) F{}(typedSelf, cmd, checkedArgument<A>(args)...);
        else return detail::erase<R>(F{}(typedSelf, cmd, checkedArgument<A>(args)...));
    }
};

template <class F, class Sig>
struct LambdaTraits;
template <class F, class R, class L, class Self, class... A>
struct LambdaTraits<F, R (L::*)(Self, SEL, A...) const> {
    using Return = R;
    using Signature = objc::Signature<R, A...>;
    static constexpr Invoker invoker = &invokeWith<R, A...>;
    static IMP imp() { return reinterpret_cast<IMP>(&Trampoline<F, Self, R, A...>::call); }
    static const char* types() { return registerSignature<R, A...>(); }
};

template <class F>
using Lambda = LambdaTraits<F, decltype(&F::operator())>;

}  // namespace detail

// Adds (or replaces) a method given as a captureless lambda `(Self self, SEL _cmd, A... args) -> R`.
// Self is the receiver's C++ type (or `id`, or `Class` for class methods).
template <class F>
IMP addMethod(Class cls, SEL sel, F) {
    static_assert(std::is_empty_v<F>, "methods are captureless lambdas");
    using L = detail::Lambda<F>;
    return class_replaceMethod(cls, sel, L::imp(), L::types());
}

// Builds a class whose instances are the C++ type T:
//   ClassBuilder<UIView>("UIView", UIResponder::class_())
//       .method(sel<"frame">(), [](UIView* self, SEL) { return self->frame; })
//       .registerClass();
template <class T>
class ClassBuilder {
public:
    ClassBuilder(const char* name, Class superclass)
        : cls_(detail::allocateCxxClassPair(superclass, name, sizeof(T), alignof(T),
                                            [](void* memory) -> id { return new (memory) T(); })) {}

    template <class F>
    ClassBuilder& method(SEL sel, F f) {
        addMethod(cls_, sel, f);
        return *this;
    }
    template <class F>
    ClassBuilder& classMethod(SEL sel, F f) {
        addMethod(object_getClass(reinterpret_cast<id>(cls_)), sel, f);
        return *this;
    }
    ClassBuilder& ivar(const char* name, const char* type, std::size_t size, std::size_t alignment) {
        class_addIvar(cls_, name, size, alignment, type);
        return *this;
    }

    Class registerClass() {
        objc_registerClassPair(cls_);
        return cls_;
    }

private:
    Class cls_;
};

// Instances of C++-declared classes are made by the runtime; this is the typed form.
template <class T>
T* createInstance(Class cls = T::class_()) {
    return static_cast<T*>(class_createInstance(cls));
}

}  // namespace objc
