// stringWithFormat: for C++: printf-style formatting with %@ for objects, type-checked at the call.
#pragma once

#include <Foundation/NSString.h>

#include <objc/NSException.h>

#include <array>
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace objc::detail {

// One argument of a format, kept with its kind so that each conversion reads the type it
// names, whatever the caller passed: no argument is ever read as another type.
struct FormatArgument {
    enum class Kind { object, cls, text, signedInteger, unsignedInteger, real, pointer };
    Kind kind = Kind::pointer;
    id object = nullptr;
    Class cls = nullptr;
    std::string_view text;
    bool nullText = false;
    long long signedValue = 0;
    unsigned long long unsignedValue = 0;
    double realValue = 0;
    const void* pointer = nullptr;
};

template <class T>
FormatArgument formatArgument(const T& value) {
    using U = std::remove_cv_t<T>;
    FormatArgument a;
    if constexpr (std::is_same_v<U, Class>) {
        a.kind = FormatArgument::Kind::cls;
        a.cls = value;
    } else if constexpr (std::is_same_v<U, SEL>) {
        a.kind = FormatArgument::Kind::text;
        a.nullText = value == nullptr;
        if (value) a.text = sel_getName(value);
    } else if constexpr (ObjectPointer<U>) {
        a.kind = FormatArgument::Kind::object;
        a.object = static_cast<id>(const_cast<std::remove_cv_t<std::remove_pointer_t<U>>*>(value));
    } else if constexpr (std::is_same_v<U, std::nullptr_t>) {
        a.kind = FormatArgument::Kind::object;
    } else if constexpr (std::is_same_v<U, const char*> || std::is_same_v<U, char*>) {
        a.kind = FormatArgument::Kind::text;
        a.nullText = value == nullptr;
        if (value) a.text = value;
    } else if constexpr (std::is_array_v<U> && std::is_same_v<std::remove_cv_t<std::remove_extent_t<U>>, char>) {
        a.kind = FormatArgument::Kind::text;
        a.text = std::string_view(value);
    } else if constexpr (std::is_same_v<U, std::string> || std::is_same_v<U, std::string_view>) {
        a.kind = FormatArgument::Kind::text;
        a.text = value;
    } else if constexpr (std::is_base_of_v<NSException, U>) {
        a.kind = FormatArgument::Kind::text;  // an exception describes itself by its reason, as on the phone
        a.text = value.reason();
    } else if constexpr (std::is_base_of_v<std::exception, U>) {
        a.kind = FormatArgument::Kind::text;
        a.text = value.what();
    } else if constexpr (std::is_same_v<U, bool>) {
        a.kind = FormatArgument::Kind::signedInteger;
        a.signedValue = value ? 1 : 0;
    } else if constexpr (std::is_enum_v<U>) {
        return formatArgument(static_cast<std::underlying_type_t<U>>(value));
    } else if constexpr (std::is_integral_v<U> && std::is_signed_v<U>) {
        a.kind = FormatArgument::Kind::signedInteger;
        a.signedValue = value;
    } else if constexpr (std::is_integral_v<U>) {
        a.kind = FormatArgument::Kind::unsignedInteger;
        a.unsignedValue = value;
    } else if constexpr (std::is_floating_point_v<U>) {
        a.kind = FormatArgument::Kind::real;
        a.realValue = static_cast<double>(value);
    } else if constexpr (std::is_pointer_v<U>) {
        a.kind = FormatArgument::Kind::pointer;
        a.pointer = reinterpret_cast<const void*>(value);
    } else {
        static_assert(sizeof(U) == 0, "this type cannot be formatted");
    }
    return a;
}

// Formats like stringWithFormat:. Conversions: %@ (the object's description, "(null)" for
// nil), %s, %c, %C, %d %i %u %o %x %X with hh/h/l/ll/q/z/t/j, %f %F %e %E %g %G %a %A, %p, %%,
// flags, widths and precisions (also '*'), and positions ("%2$@"). A missing argument reads
// as zero or nil; an unknown conversion is copied as written.
std::string formatText(std::string_view format, std::span<const FormatArgument> arguments);

template <class... A>
std::string formatText(std::string_view format, const A&... arguments) {
    std::array<FormatArgument, sizeof...(A)> list{formatArgument(arguments)...};
    return formatText(format, std::span<const FormatArgument>(list));
}

}  // namespace objc::detail

namespace objc {

// An autoreleased NSString formatted like stringWithFormat:, e.g. format("#%02X%02X%02X", r, g, b).
template <class... A>
NSString* format(const char* format, const A&... arguments) {
    return str(detail::formatText(format ? std::string_view(format) : std::string_view(), arguments...));
}

template <class... A>
NSString* format(NSString* format, const A&... arguments) {
    return str(detail::formatText(format ? std::string_view(format->utf8()) : std::string_view(), arguments...));
}

}  // namespace objc
