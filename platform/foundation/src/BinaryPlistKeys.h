// A look at a binary property list's dictionary keys before libplist reads them.
#pragma once

#include <cstdint>
#include <span>

namespace foundation {

// True when a dictionary of the binary property list `bytes` has a key holding a NUL
// character. libplist reads keys as C strings and stops the program on such a key, so these
// lists are refused before it sees them. A list whose structure cannot be followed gives false
// here and is left to libplist to refuse.
bool binaryPlistHasKeyWithNul(std::span<const std::uint8_t> bytes);

}  // namespace foundation
