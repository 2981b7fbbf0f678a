// Values read from text as NSString reads them: numbers, booleans, percent encoding, decoded bytes.
#pragma once

#include <Foundation/NSObjCRuntime.h>

#include <optional>
#include <string>
#include <string_view>

class NSCharacterSet;

namespace foundation {

// Leading white space, an optional sign, then decimal digits up to the first other character;
// saturates at the type's limits; 0 when there are no digits.
int intValue(std::string_view text);
long long longLongValue(std::string_view text);
// Leading white space, then the longest decimal number (sign, digits, point, exponent); 0 when none.
double doubleValue(std::string_view text);
// The phone's rule: leading white space, an optional sign followed by any zeroes, then YES when
// the next character is one of "YyTt" or a digit 1–9; trailing characters are ignored.
bool boolValue(std::string_view text);

// Text decoded from bytes in one of the supported encodings (UTF-8, ASCII); nullopt otherwise.
std::optional<std::u16string> decodeText(std::string_view bytes, NSUInteger encoding);

// Every character outside `allowed` as %XX of its UTF-8 bytes; nullopt for an unpaired surrogate.
std::optional<std::string> percentEncoded(std::u16string_view units, const NSCharacterSet& allowed);
// %XX sequences back to bytes; nullopt for a malformed sequence or bytes that are not UTF-8.
std::optional<std::u16string> percentDecoded(std::string_view text);

unsigned long hashUnits(std::u16string_view units);

}  // namespace foundation
