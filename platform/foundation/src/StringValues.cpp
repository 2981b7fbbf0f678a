// Numbers, booleans, encodings and percent escapes read from and written to text.
#include "StringValues.h"

#include <Foundation/NSCharacterSet.h>
#include <Foundation/NSString.h>

#include "Unicode.h"

#include <locale.h>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <string>

namespace foundation {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    return i;
}

template <class T>
T saturatingDecimal(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate toward the sign so that the most negative value is reachable.
    T value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        T digit = text[i] - '0';
        if (negative) {
            if (value < (std::numeric_limits<T>::min() + digit) / 10) return std::numeric_limits<T>::min();
            value = value * 10 - digit;
        } else {
            if (value > (std::numeric_limits<T>::max() - digit) / 10) return std::numeric_limits<T>::max();
            value = value * 10 + digit;
        }
    }
    return value;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int intValue(std::string_view text) { return saturatingDecimal<int>(text); }
long long longLongValue(std::string_view text) { return saturatingDecimal<long long>(text); }

double doubleValue(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::size_t start = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    bool digits = i > start;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, digits = true;
    }
    if (!digits) return 0;
    std::size_t mantissaEnd = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && isDigit(text[e])) {
            while (e < text.size() && isDigit(text[e])) ++e;
            i = e;
        } else {
            i = mantissaEnd;
        }
    }
    // strtod in the C locale: the decimal point is always '.', and overflow gives infinity.
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    std::string number(text.substr(start, i - start));
    double value = strtod_l(number.c_str(), nullptr, cLocale);
    return negative ? -value : value;
}

bool boolValue(std::string_view text) {
    std::size_t i = skipSpace(text);
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && text[i] == '0') ++i;
    if (i >= text.size()) return false;
    char c = text[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

std::optional<std::u16string> decodeText(std::string_view bytes, NSUInteger encoding) {
    if (encoding == NSUTF8StringEncoding) return strictUTF16FromUTF8(bytes);
    if (encoding == NSASCIIStringEncoding) {
        std::u16string out;
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
            out.push_back(static_cast<char16_t>(c));
        }
        return out;
    }
    return std::nullopt;
}

std::optional<std::string> percentEncoded(std::u16string_view units, const NSCharacterSet& allowed) {
    if (!isWellFormedUTF16(units)) return std::nullopt;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t cp = units[i];
        if (cp >= 0xD800 && cp <= 0xDBFF) cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
        std::string bytes;
        appendUTF8(bytes, cp);
        if (allowed.contains(cp)) {
            out += bytes;
            continue;
        }
        for (unsigned char b : bytes) {
            out.push_back('%');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0xF]);
        }
    }
    return out;
}

std::optional<std::u16string> percentDecoded(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        int high = hexDigit(text[i + 1]), low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return strictUTF16FromUTF8(bytes);
}

unsigned long hashUnits(std::u16string_view units) {
    unsigned long h = 14695981039346656037UL;  // FNV-1a
    for (char16_t u : units) {
        h ^= u;
        h *= 1099511628211UL;
    }
    return h;
}

}  // namespace foundation
