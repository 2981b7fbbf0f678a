// The device section of a scene: the settings file and other device files written before the app starts.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace obscuro::scene {

inline constexpr const char* kSettingsPath = "/var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist";

// The XML property list of a JSON value: objects become dictionaries, arrays arrays, strings,
// booleans, integers and reals their plist kinds. Throws SceneError (naming `where`) for null
// or for a number that fits no plist kind.
std::string propertyListXml(const nlohmann::ordered_json& value, const std::string& where);

// Applies {"settings": {...} | null, "files": {path: {...} | [...] | "bytes" | null}} to the
// current device root: a dictionary or array is written as a property list, a string as its
// raw bytes, null removes the file; parent folders are made as needed. Paths are absolute
// device paths and must stay inside the device. Throws SceneError naming `where`.
void applyDeviceSection(const nlohmann::ordered_json& section, const std::string& where);

}  // namespace obscuro::scene
