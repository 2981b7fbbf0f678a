// Classes and categories a library carries as constant data, attached by the runtime when the library loads.
#pragma once

#include <objc/ClassBuilder.h>

#include <span>

// A library lists what it adds to the runtime in one exported constant, `objc_catlist`, of
// type objc_image_info. When the platform's loader opens the library it finds that symbol and
// attaches everything in it: no initialiser of the library runs for it. A host program that has
// such code compiled in hands its own list to objc_attachImage. Everything here is constant
// data, so building the list adds no dynamic initialiser to the library.
#define OBJC_CATLIST_SYMBOL "objc_catlist"

// One method: selector text, signature text, and how to reach the implementation.
struct objc_method_entry {
    const char* name;
    const char* types;
    IMP (*implementation)();  // a function rather than the IMP itself, so the entry is a constant expression
    objc::Invoker invoker;    // sends the method from data (scenes, tools)
};

struct objc_ivar_entry {
    const char* name;
    const char* types;  // "@" for a strong object reference
    std::size_t size;
    std::size_t alignment;
};

// A category: methods added to an existing class. A category whose class is not there is
// skipped, as the phone's runtime does.
struct objc_category_entry {
    const char* className;
    const char* name;
    std::span<const objc_method_entry> instanceMethods;
    std::span<const objc_method_entry> classMethods;
};

// A class the library defines, with instances laid out as a C++ type.
struct objc_class_entry {
    const char* name;
    const char* superclassName;
    std::size_t instanceSize;
    std::size_t alignment;
    objc::detail::Constructor construct;
    std::span<const objc_ivar_entry> ivars;
    std::span<const objc_method_entry> instanceMethods;
    std::span<const objc_method_entry> classMethods;
};

struct objc_image_info {
    std::span<const objc_class_entry> classes;
    std::span<const objc_category_entry> categories;
};

// Registers the class an entry describes and adds its methods; returns the class. When a class
// of that name is registered already (another library carries the same class), that class is
// kept and the entry's methods replace its own, as a category's would. Nil when the superclass
// is missing. A library may call this for its own class before the loader gets to it (from its
// initialiser); the loader's later pass then finds the class and changes nothing of substance.
Class objc_readClassEntry(const objc_class_entry& entry);

// Attaches an image's classes, then its categories, in list order, once per image. A method the
// class has already is replaced (when of the same signature; see class_replaceMethod), so of two
// libraries carrying the same category the one loaded last wins.
void objc_attachImage(const objc_image_info& image);

namespace objc {

namespace detail {

template <auto F, class Fn = decltype(F)>
struct InstanceFunction;
template <auto F, class R, class... A>
struct InstanceFunction<F, R (*)(id, A...)> {
    using Signature = objc::Signature<R, A...>;
    static constexpr Invoker invoker = &invokeWith<R, A...>;
    static Erased<R> call(id self, SEL, Erased<A>... args) {
        if constexpr (std::is_void_v<R>) F(self, unerase<A>(args)...);
        else return erase<R>(F(self, unerase<A>(args)...));
    }
    static IMP imp() { return reinterpret_cast<IMP>(&call); }
};

template <auto F, class Fn = decltype(F)>
struct ClassFunction;
template <auto F, class R, class... A>
struct ClassFunction<F, R (*)(A...)> {
    using Signature = objc::Signature<R, A...>;
    static constexpr Invoker invoker = &invokeWith<R, A...>;
    static Erased<R> call(id, SEL, Erased<A>... args) {
        if constexpr (std::is_void_v<R>) F(unerase<A>(args)...);
        else return erase<R>(F(unerase<A>(args)...));
    }
    static IMP imp() { return reinterpret_cast<IMP>(&call); }
};

template <class M>
constexpr objc_method_entry methodEntry(const char* name) {
    return {name, M::Signature::value.chars.data(), &M::imp, M::invoker};
}

}  // namespace detail

// A method whose implementation is a free function over a nullable receiver:
// `R f(id self, A... args)`. Nil receivers never reach it (a message to nil does not).
template <FixedString Name, auto F>
constexpr objc_method_entry instanceFunction() {
    return detail::methodEntry<detail::InstanceFunction<F>>(Name.data);
}

// A class method whose implementation is a free function of its arguments: `R f(A... args)`.
template <FixedString Name, auto F>
constexpr objc_method_entry classFunction() {
    return detail::methodEntry<detail::ClassFunction<F>>(Name.data);
}

// A method given as a captureless lambda `(Self self, SEL _cmd, A... args) -> R`, as ClassBuilder takes.
template <FixedString Name, class F>
constexpr objc_method_entry lambdaMethod(F) {
    static_assert(std::is_empty_v<F>, "methods are captureless lambdas");
    return detail::methodEntry<detail::Lambda<F>>(Name.data);
}

}  // namespace objc
