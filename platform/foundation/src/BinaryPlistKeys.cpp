// Dictionary keys of a binary property list ("bplist00"), followed through its offset table.
#include "BinaryPlistKeys.h"

#include <optional>

namespace foundation {

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kTrailerSize = 32;

// A big-endian unsigned number of `size` bytes at `at`, when it lies within `bytes`.
std::optional<std::uint64_t> readNumber(std::span<const std::uint8_t> bytes, std::uint64_t at, std::uint64_t size) {
    if (size == 0 || size > 8 || at > bytes.size() || size > bytes.size() - at) return std::nullopt;
    std::uint64_t value = 0;
    for (std::uint64_t i = 0; i < size; ++i) value = (value << 8) | bytes[at + i];
    return value;
}

struct ObjectTable {
    std::span<const std::uint8_t> bytes;
    std::uint64_t offsetSize, referenceSize, count, tableStart;

    std::optional<std::uint64_t> offsetOf(std::uint64_t index) const {
        if (index >= count) return std::nullopt;
        return readNumber(bytes, tableStart + index * offsetSize, offsetSize);
    }

    // The element count of the object whose marker is at `at`, and where its contents start.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> countAndStart(std::uint64_t at) const {
        std::uint64_t count = bytes[at] & 0x0F;
        if (count != 0x0F) return std::pair{count, at + 1};
        auto intMarker = readNumber(bytes, at + 1, 1);
        if (!intMarker || (*intMarker & 0xF0) != 0x10) return std::nullopt;
        std::uint64_t size = std::uint64_t(1) << (*intMarker & 0x0F);
        auto value = readNumber(bytes, at + 2, size);
        if (!value) return std::nullopt;
        return std::pair{*value, at + 2 + size};
    }

    // Whether the string object `index` holds a NUL character.
    bool stringHasNul(std::uint64_t index) const {
        auto at = offsetOf(index);
        if (!at || *at >= bytes.size()) return false;
        int type = bytes[*at] >> 4;
        if (type != 0x5 && type != 0x6) return false;  // ASCII and UTF-16 strings
        auto shape = countAndStart(*at);
        if (!shape) return false;
        std::uint64_t unit = type == 0x6 ? 2 : 1;
        auto [length, start] = *shape;
        if (start > bytes.size() || length > (bytes.size() - start) / unit) return false;
        for (std::uint64_t i = 0; i < length; ++i) {
            bool nul = unit == 1 ? bytes[start + i] == 0 : bytes[start + 2 * i] == 0 && bytes[start + 2 * i + 1] == 0;
            if (nul) return true;
        }
        return false;
    }
};

}  // namespace

bool binaryPlistHasKeyWithNul(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize + kTrailerSize) return false;
    const std::uint64_t trailer = bytes.size() - kTrailerSize;
    auto count = readNumber(bytes, trailer + 8, 8);
    auto tableStart = readNumber(bytes, trailer + 24, 8);
    if (!count || !tableStart) return false;
    ObjectTable table{bytes, bytes[trailer + 6], bytes[trailer + 7], *count, *tableStart};
    if (table.offsetSize == 0 || table.offsetSize > 8 || table.referenceSize == 0 || table.referenceSize > 8) return false;
    if (table.tableStart > trailer || table.count > (trailer - table.tableStart) / table.offsetSize) return false;

    for (std::uint64_t index = 0; index < table.count; ++index) {
        auto at = table.offsetOf(index);
        if (!at || *at >= bytes.size() || (bytes[*at] >> 4) != 0xD) continue;  // dictionaries only
        auto shape = table.countAndStart(*at);
        if (!shape) continue;
        auto [entries, start] = *shape;
        if (start > bytes.size() || entries > (bytes.size() - start) / table.referenceSize) continue;
        for (std::uint64_t k = 0; k < entries; ++k) {
            auto key = readNumber(bytes, start + k * table.referenceSize, table.referenceSize);
            if (key && table.stringHasNul(*key)) return true;
        }
    }
    return false;
}

}  // namespace foundation
