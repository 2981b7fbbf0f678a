// The format engine of stringWithFormat: and NSLog: each numeric conversion is handed to snprintf
// with the C type its length modifier names, converted from whatever the caller passed.
#include <Foundation/NSStringFormat.h>

#include "Internal.h"
#include "Unicode.h"

#include <sys/types.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace objc::detail {

namespace {

using Kind = FormatArgument::Kind;

// Widths and precisions beyond this are clamped: no format should allocate without bound.
constexpr long kLargestWidth = 10000;

long long asSigned(const FormatArgument* a) {
    if (!a) return 0;
    switch (a->kind) {
    case Kind::signedInteger: return a->signedValue;
    case Kind::unsignedInteger: return static_cast<long long>(a->unsignedValue);
    case Kind::real: return foundation::saturated<long long>(a->realValue);
    case Kind::pointer: return static_cast<long long>(reinterpret_cast<std::intptr_t>(a->pointer));
    case Kind::object: return static_cast<long long>(reinterpret_cast<std::intptr_t>(a->object));
    case Kind::cls: return static_cast<long long>(reinterpret_cast<std::intptr_t>(a->cls));
    case Kind::text: return 0;
    }
    return 0;
}

unsigned long long asUnsigned(const FormatArgument* a) {
    if (a && a->kind == Kind::unsignedInteger) return a->unsignedValue;
    if (a && a->kind == Kind::real) return a->realValue < 0 ? static_cast<unsigned long long>(foundation::saturated<long long>(a->realValue))
                                                             : foundation::saturated<unsigned long long>(a->realValue);
    return static_cast<unsigned long long>(asSigned(a));
}

double asDouble(const FormatArgument* a) {
    if (!a) return 0;
    if (a->kind == Kind::real) return a->realValue;
    if (a->kind == Kind::unsignedInteger) return static_cast<double>(a->unsignedValue);
    return static_cast<double>(asSigned(a));
}

const void* asPointer(const FormatArgument* a) {
    if (!a) return nullptr;
    switch (a->kind) {
    case Kind::pointer: return a->pointer;
    case Kind::object: return a->object;
    case Kind::cls: return a->cls;
    case Kind::text: return a->nullText ? nullptr : a->text.data();
    default: return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(asUnsigned(a)));
    }
}

// What %@ and %s print for an argument.
std::string asText(const FormatArgument* a, bool objectDescriptions) {
    if (!a) return "(null)";
    switch (a->kind) {
    case Kind::text: return a->nullText ? "(null)" : std::string(a->text);
    case Kind::object:
        if (!a->object) return "(null)";
        if (!objectDescriptions) {
            if (auto* s = foundation::as<NSString>(a->object)) return s->utf8();
        }
        return foundation::describe(a->object);
    case Kind::cls: return a->cls ? utf8(NSStringFromClass(a->cls)) : "(null)";
    case Kind::signedInteger: return std::to_string(a->signedValue);
    case Kind::unsignedInteger: return std::to_string(a->unsignedValue);
    case Kind::real: {
        char text[64];
        std::snprintf(text, sizeof text, "%g", a->realValue);
        return text;
    }
    case Kind::pointer: {
        char text[32];
        std::snprintf(text, sizeof text, "%p", a->pointer);
        return text;
    }
    }
    return "";
}

template <class T>
void appendFormatted(std::string& out, const std::string& spec, T value) {
    char buffer[128];
    int n = std::snprintf(buffer, sizeof buffer, spec.c_str(), value);
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < sizeof buffer) {
        out.append(buffer, static_cast<std::size_t>(n));
        return;
    }
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), spec.c_str(), value);
    out.append(big.data(), static_cast<std::size_t>(n));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

long readNumber(std::string_view f, std::size_t& i) {
    long value = 0;
    while (i < f.size() && isDigit(f[i])) {
        value = std::min(kLargestWidth, value * 10 + (f[i] - '0'));
        ++i;
    }
    return value;
}

void appendPadded(std::string& out, const std::string& text, long width, bool left) {
    std::size_t pad = width > 0 && static_cast<std::size_t>(width) > text.size() ? static_cast<std::size_t>(width) - text.size() : 0;
    if (!left) out.append(pad, ' ');
    out += text;
    if (left) out.append(pad, ' ');
}

}  // namespace

std::string formatText(std::string_view f, std::span<const FormatArgument> arguments) {
    std::string out;
    out.reserve(f.size() + 16 * arguments.size());
    std::size_t nextArgument = 0;
    auto take = [&](std::size_t* position) -> const FormatArgument* {
        std::size_t index = position ? *position : nextArgument++;
        return index < arguments.size() ? &arguments[index] : nullptr;
    };

    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%') {
            out += f[i];
            continue;
        }
        std::size_t start = i++;
        if (i >= f.size()) {
            out += '%';
            break;
        }
        if (f[i] == '%') {
            out += '%';
            continue;
        }

        // "%2$@": an explicit argument position.
        std::size_t positional = 0;
        std::size_t* position = nullptr;
        {
            std::size_t j = i;
            long n = readNumber(f, j);
            if (j > i && j < f.size() && f[j] == '$' && n > 0) {
                positional = static_cast<std::size_t>(n - 1);
                position = &positional;
                i = j + 1;
            }
        }

        std::string flags;
        while (i < f.size() && std::strchr("-+ #0'", f[i])) flags += f[i++];
        long width = -1;
        if (i < f.size() && f[i] == '*') {
            long long w = asSigned(take(nullptr));
            ++i;
            if (w < 0) flags += '-';
            width = std::min<long long>(kLargestWidth, w < 0 ? -w : w);
        } else if (i < f.size() && isDigit(f[i])) {
            width = readNumber(f, i);
        }
        long precision = -1;
        if (i < f.size() && f[i] == '.') {
            ++i;
            if (i < f.size() && f[i] == '*') {
                long long p = asSigned(take(nullptr));
                ++i;
                precision = p < 0 ? -1 : std::min<long long>(kLargestWidth, p);
            } else {
                precision = readNumber(f, i);
            }
        }
        std::string length;
        while (i < f.size() && std::strchr("hlqLztj", f[i])) length += f[i++];
        if (i >= f.size()) {
            out.append(f.substr(start));
            break;
        }
        char conversion = f[i];

        std::string spec = "%" + flags;
        if (width >= 0) spec += std::to_string(width);
        if (precision >= 0) spec += "." + std::to_string(precision);
        bool left = flags.find('-') != std::string::npos;

        switch (conversion) {
        case '@':
            appendPadded(out, asText(take(position), true), width, left);
            break;
        case 's':
        case 'S':
            appendFormatted(out, spec + "s", asText(take(position), false).c_str());
            break;
        case 'c':
            appendFormatted(out, spec + "c", static_cast<int>(asSigned(take(position))));
            break;
        case 'C': {
            std::string text;
            foundation::appendUTF8(text, static_cast<char32_t>(static_cast<unichar>(asUnsigned(take(position)))));
            appendPadded(out, text, width, left);
            break;
        }
        case 'd':
        case 'i': {
            long long v = asSigned(take(position));
            std::string c(1, conversion);
            if (length == "hh") appendFormatted(out, spec + "hh" + c, static_cast<signed char>(v));
            else if (length == "h") appendFormatted(out, spec + "h" + c, static_cast<short>(v));
            else if (length == "l") appendFormatted(out, spec + "l" + c, static_cast<long>(v));
            else if (length == "ll" || length == "q") appendFormatted(out, spec + "ll" + c, v);
            else if (length == "z") appendFormatted(out, spec + "z" + c, static_cast<ssize_t>(v));
            else if (length == "t") appendFormatted(out, spec + "t" + c, static_cast<std::ptrdiff_t>(v));
            else if (length == "j") appendFormatted(out, spec + "j" + c, static_cast<std::intmax_t>(v));
            else appendFormatted(out, spec + c, static_cast<int>(v));
            break;
        }
        case 'u':
        case 'o':
        case 'x':
        case 'X': {
            unsigned long long v = asUnsigned(take(position));
            std::string c(1, conversion);
            if (length == "hh") appendFormatted(out, spec + "hh" + c, static_cast<unsigned char>(v));
            else if (length == "h") appendFormatted(out, spec + "h" + c, static_cast<unsigned short>(v));
            else if (length == "l") appendFormatted(out, spec + "l" + c, static_cast<unsigned long>(v));
            else if (length == "ll" || length == "q") appendFormatted(out, spec + "ll" + c, v);
            else if (length == "z") appendFormatted(out, spec + "z" + c, static_cast<std::size_t>(v));
            else if (length == "t") appendFormatted(out, spec + "t" + c, static_cast<std::ptrdiff_t>(v));
            else if (length == "j") appendFormatted(out, spec + "j" + c, static_cast<std::uintmax_t>(v));
            else appendFormatted(out, spec + c, static_cast<unsigned>(v));
            break;
        }
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A': {
            double v = asDouble(take(position));
            if (length == "L") appendFormatted(out, spec + "L" + conversion, static_cast<long double>(v));
            else appendFormatted(out, spec + conversion, v);
            break;
        }
        case 'p': {
            const void* p = asPointer(take(position));
            char text[32];
            if (p) std::snprintf(text, sizeof text, "%p", p);
            else std::snprintf(text, sizeof text, "0x0");
            appendPadded(out, text, width, left);
            break;
        }
        case 'n':
            take(position);  // never written through: the count is of no use here
            break;
        default:
            out.append(f.substr(start, i - start + 1));
            break;
        }
    }
    return out;
}

}  // namespace objc::detail
