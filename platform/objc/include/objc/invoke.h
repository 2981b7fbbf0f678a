// Generic invocation: sending a selector with arguments given as data, typed by the method's signature.
#pragma once

#include <objc/encoding.h>
#include <objc/message.h>

#include <cstring>
#include <span>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

namespace objc {

// A struct made of doubles (CGRect, CGSize, UIOffset, ...) carried as its encoding and fields.
struct StructValue {
    std::string type;  // "{CGRect=dddd}"
    std::vector<double> fields;
    bool operator==(const StructValue&) const = default;
};

using Value = std::variant<std::monostate, id, Class, SEL, bool, long long, double, StructValue, void*, std::string>;

// Raised when data cannot be made into the arguments a method takes.
class InvokeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Invoker = Value (*)(IMP imp, id self, SEL sel, std::span<const Value> args);

// Registers the invoker for one interned signature. Typed method registration does this,
// so every method added through ClassBuilder or addMethod can be invoked from data.
void registerInvoker(const char* internedTypes, Invoker invoker);

// Sends `sel` to `receiver` with `args` converted by the method's signature; the result
// comes back as data. Raises NSException for an unknown selector, InvokeError for bad data.
Value invoke(id receiver, SEL sel, std::span<const Value> args);

// The number of arguments a signature takes after self and _cmd; -1 for malformed text.
int signatureArgumentCount(const char* types);
// The encoding of argument `index` (0 = first after _cmd), or of the return type for -1.
std::string signatureArgumentType(const char* types, int index);

namespace detail {

std::string describeValue(const Value& v);

template <class T>
T fromValue(const Value& v, std::size_t index) {
    auto fail = [&](const char* wanted) -> T {
        throw InvokeError("argument " + std::to_string(index + 1) + " should be " + wanted + ", not " + describeValue(v));
    };
    if constexpr (std::is_same_v<T, id>) {
        if (std::holds_alternative<std::monostate>(v)) return nullptr;
        if (auto p = std::get_if<id>(&v)) return *p;
        if (auto c = std::get_if<Class>(&v)) return static_cast<id>(*c);
        return fail("an object");
    } else if constexpr (std::is_same_v<T, Class>) {
        if (std::holds_alternative<std::monostate>(v)) return nullptr;
        if (auto c = std::get_if<Class>(&v)) return *c;
        return fail("a class");
    } else if constexpr (std::is_same_v<T, SEL>) {
        if (std::holds_alternative<std::monostate>(v)) return nullptr;
        if (auto s = std::get_if<SEL>(&v)) return *s;
        if (auto s = std::get_if<std::string>(&v)) return sel_registerName(s->c_str());
        return fail("a selector");
    } else if constexpr (std::is_same_v<T, bool>) {
        if (auto b = std::get_if<bool>(&v)) return *b;
        if (auto i = std::get_if<long long>(&v)) return *i != 0;
        return fail("a boolean");
    } else if constexpr (std::is_integral_v<T>) {
        if (auto i = std::get_if<long long>(&v)) return static_cast<T>(*i);
        if (auto b = std::get_if<bool>(&v)) return static_cast<T>(*b);
        if (auto d = std::get_if<double>(&v); d && *d == static_cast<double>(static_cast<long long>(*d)))
            return static_cast<T>(*d);
        return fail("an integer");
    } else if constexpr (std::is_floating_point_v<T>) {
        if (auto d = std::get_if<double>(&v)) return static_cast<T>(*d);
        if (auto i = std::get_if<long long>(&v)) return static_cast<T>(*i);
        return fail("a number");
    } else if constexpr (EncodedStruct<T>) {
        auto s = std::get_if<StructValue>(&v);
        constexpr std::size_t n = sizeof(T) / sizeof(double);
        if (!s || s->fields.size() != n) return fail((std::to_string(n) + " numbers").c_str());
        T out;
        std::memcpy(static_cast<void*>(&out), s->fields.data(), sizeof(T));
        return out;
    } else if constexpr (std::is_same_v<T, const char*>) {
        if (std::holds_alternative<std::monostate>(v)) return nullptr;
        if (auto s = std::get_if<std::string>(&v)) return s->c_str();
        return fail("a C string");
    } else if constexpr (std::is_pointer_v<T>) {
        if (std::holds_alternative<std::monostate>(v)) return nullptr;
        if (auto p = std::get_if<void*>(&v)) return reinterpret_cast<T>(*p);
        return fail("a pointer");
    } else {
        static_assert(sizeof(T) == 0, "unsupported argument type");
    }
}

template <class T>
Value toValue(T value) {
    if constexpr (std::is_same_v<T, id> || std::is_same_v<T, Class> || std::is_same_v<T, SEL> || std::is_same_v<T, bool>)
        return value;
    else if constexpr (std::is_integral_v<T>) return static_cast<long long>(value);
    else if constexpr (std::is_floating_point_v<T>) return static_cast<double>(value);
    else if constexpr (EncodedStruct<T>) {
        StructValue s{std::string(StructEncoding<T>::value.view()), std::vector<double>(sizeof(T) / sizeof(double))};
        std::memcpy(s.fields.data(), static_cast<const void*>(&value), sizeof(T));
        return s;
    } else if constexpr (std::is_same_v<T, const char*>) return value ? Value(std::string(value)) : Value();
    else if constexpr (std::is_pointer_v<T>) return const_cast<void*>(reinterpret_cast<const void*>(value));
    else static_assert(sizeof(T) == 0, "unsupported result type");
}

// The call goes through a function type whose object and pointer parameters and result are all
// one erased pointer type: the same calling convention as the method's own types, but a different
// function type, which clang's function-type check would report on every such call.
#if defined(__clang__)
#define OBJC_ERASED_CALL __attribute__((no_sanitize("function")))
#else
#define OBJC_ERASED_CALL
#endif

template <class R, class... A>
Value invokeWith(IMP imp, id self, SEL sel, std::span<const Value> args) {
    if (args.size() != sizeof...(A))
        throw InvokeError(std::string(sel_getName(sel)) + " takes " + std::to_string(sizeof...(A)) + " argument(s), not " +
                          std::to_string(args.size()));
    using Fn = Erased<R> (*)(id, SEL, Erased<A>...);
    auto fn = reinterpret_cast<Fn>(imp);
    return [&]<std::size_t... I>(std::index_sequence<I...>) OBJC_ERASED_CALL -> Value {
        std::tuple<Erased<A>...> converted{fromValue<Erased<A>>(args[I], I)...};
        if constexpr (std::is_void_v<R>) {
            fn(self, sel, std::get<I>(converted)...);
            return {};
        } else {
            return toValue<Erased<R>>(fn(self, sel, std::get<I>(converted)...));
        }
    }(std::index_sequence_for<A...>{});
}

template <class R, class... A>
const char* registerSignature() {
    static const char* const types = [] {
        const char* interned = internedSignature<R, A...>();
        registerInvoker(interned, &invokeWith<R, A...>);
        return interned;
    }();
    return types;
}

}  // namespace detail
}  // namespace objc
