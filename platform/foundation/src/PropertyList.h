// Property lists between libplist's trees and Foundation objects, and as device files.
#pragma once

#include <Foundation/NSObjCRuntime.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

enum class Mutability { immutable, mutableContainers, mutableContainersAndLeaves };

// The object of an XML or binary property list; nil when the bytes are not one. `format`,
// when given, receives NSPropertyListXMLFormat_v1_0 or NSPropertyListBinaryFormat_v1_0.
objc::Strong<objc_object> decodePropertyList(std::span<const std::uint8_t> bytes, Mutability mutability, NSUInteger* format,
                                             std::string* error = nullptr);

// The bytes of `object` as an XML or binary property list; nullopt when some object in it is
// not a property-list value (or a dictionary key is not a string), or the format is another.
std::optional<std::vector<std::uint8_t>> encodePropertyList(id object, NSUInteger format, std::string* error = nullptr);

// A device file read as a property list; nil when it is missing, unreadable or not one.
objc::Strong<objc_object> readPropertyListFile(std::string_view devicePath, Mutability mutability = Mutability::immutable);
// Writes `object` as an XML property list; false, leaving the file alone, when it is not one.
bool writePropertyListFile(id object, std::string_view devicePath, bool atomically);

}  // namespace foundation
