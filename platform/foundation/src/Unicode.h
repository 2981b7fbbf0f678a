// Conversions between UTF-8 and UTF-16, strict for data and lenient for C++ text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// UTF-8 to UTF-16; each invalid sequence (overlong, surrogate, beyond U+10FFFF, cut short)
// becomes U+FFFD. `valid`, when given, tells whether there was none.
std::u16string utf16FromUTF8(std::string_view text, bool* valid = nullptr);
// nullopt for text that is not valid UTF-8.
std::optional<std::u16string> strictUTF16FromUTF8(std::string_view text);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf8FromUTF16(std::u16string_view units);
bool isWellFormedUTF16(std::u16string_view units);

void appendUTF8(std::string& out, char32_t codePoint);
void appendUTF16(std::u16string& out, char32_t codePoint);

}  // namespace foundation
