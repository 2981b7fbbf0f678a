// Compile-time type encodings: the signature text of a method, built from its C++ types.
#pragma once

#include <objc/objc.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace objc {

// A string usable as a template argument: sel<"setImage:forState:">().
template <std::size_t N>
struct FixedString {
    char data[N]{};
    constexpr FixedString(const char (&text)[N]) {
        for (std::size_t i = 0; i < N; ++i) data[i] = text[i];
    }
    constexpr std::string_view view() const { return {data, N - 1}; }
};

template <std::size_t N>
struct EncodedText {
    std::array<char, N + 1> chars{};
    constexpr std::string_view view() const { return {chars.data(), N}; }
};

template <std::size_t A, std::size_t B>
constexpr EncodedText<A + B> operator+(const EncodedText<A>& a, const EncodedText<B>& b) {
    EncodedText<A + B> out;
    for (std::size_t i = 0; i < A; ++i) out.chars[i] = a.chars[i];
    for (std::size_t i = 0; i < B; ++i) out.chars[A + i] = b.chars[i];
    return out;
}

template <std::size_t N>
constexpr EncodedText<N - 1> text(const char (&s)[N]) {
    EncodedText<N - 1> out;
    for (std::size_t i = 0; i + 1 < N; ++i) out.chars[i] = s[i];
    return out;
}

// Structs passed by value declare their encoding by specialising this trait, for example
// template <> struct StructEncoding<CGRect> { static constexpr auto value = text("{CGRect=dddd}"); };
// Every such struct is made of doubles only, which is what lets generic invocation carry it.
template <class T>
struct StructEncoding;

// Opaque handles (CGColorRef and the like) point at types never completed in client code; they
// travel as plain pointers.
template <class T>
concept CompleteType = requires { sizeof(T); };

template <class T>
concept ObjectPointer = std::is_pointer_v<T> && !std::is_same_v<std::remove_cv_t<T>, Class> &&
                        !std::is_same_v<std::remove_cv_t<T>, SEL> && std::is_class_v<std::remove_cv_t<std::remove_pointer_t<T>>> &&
                        CompleteType<std::remove_cv_t<std::remove_pointer_t<T>>> &&
                        std::is_base_of_v<objc_object, std::remove_cv_t<std::remove_pointer_t<T>>>;

template <class T>
concept EncodedStruct = requires { StructEncoding<T>::value; };

template <class T>
constexpr auto encode() {
    using U = std::remove_cv_t<T>;
    if constexpr (std::is_void_v<U>) return text("v");
    else if constexpr (std::is_same_v<U, Class>) return text("#");
    else if constexpr (ObjectPointer<U>) return text("@");
    else if constexpr (std::is_same_v<U, SEL>) return text(":");
    else if constexpr (std::is_same_v<U, bool>) return text("B");
    else if constexpr (std::is_same_v<U, char> || std::is_same_v<U, signed char>) return text("c");
    else if constexpr (std::is_same_v<U, unsigned char>) return text("C");
    else if constexpr (std::is_same_v<U, short>) return text("s");
    else if constexpr (std::is_same_v<U, unsigned short>) return text("S");
    else if constexpr (std::is_same_v<U, int>) return text("i");
    else if constexpr (std::is_same_v<U, unsigned int>) return text("I");
    else if constexpr (std::is_same_v<U, long> || std::is_same_v<U, long long>) return text("q");
    else if constexpr (std::is_same_v<U, unsigned long> || std::is_same_v<U, unsigned long long>) return text("Q");
    else if constexpr (std::is_same_v<U, float>) return text("f");
    else if constexpr (std::is_same_v<U, double>) return text("d");
    else if constexpr (std::is_same_v<U, const char*> || std::is_same_v<U, char*>) return text("*");
    else if constexpr (EncodedStruct<U>) return StructEncoding<U>::value;
    else if constexpr (std::is_pointer_v<U> && std::is_function_v<std::remove_pointer_t<U>>) return text("^?");
    else if constexpr (std::is_pointer_v<U>) {
        using P = std::remove_cv_t<std::remove_pointer_t<U>>;
        if constexpr (std::is_void_v<P> || std::is_class_v<P> || std::is_union_v<P>) return text("^v");
        else return text("^") + encode<P>();
    } else {
        static_assert(sizeof(U) == 0, "this type cannot cross a message send");
    }
}

// The signature text of a method returning R and taking (self, _cmd, A...): "v@:@q".
template <class R, class... A>
constexpr auto signatureOf() {
    constexpr auto head = encode<R>() + text("@:");
    return (head + ... + encode<A>());
}

// FNV-1a of signature text: worked out at compile time for a send and once per method at
// registration, so that a send checks its signature with one integer compare and without any
// initialiser running at load.
constexpr std::uint64_t signatureHash(std::string_view types) {
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : types) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

template <class R, class... A>
struct Signature {
    static constexpr auto value = signatureOf<R, A...>();
    static constexpr std::uint64_t hash = signatureHash(value.view());
};

// What crosses the erased call boundary: every object pointer travels as `id`.
template <class T>
using Erased = std::conditional_t<ObjectPointer<std::remove_cv_t<T>>, id, std::remove_cv_t<T>>;

}  // namespace objc
