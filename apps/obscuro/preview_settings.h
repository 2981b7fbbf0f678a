// The settings a preview's dark variant runs with: a settings file from anywhere, a theme name, or the default.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace obscuro::cli {

// Where the product reads its settings on the device.
inline constexpr const char* kPreviewSettingsPath = "/var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist";

// The XML property list the dark variant installs: the dictionary in `settingsFile` (XML or
// binary, as a phone stores it) or an empty one, with "enabled" true and "theme" set to `theme`
// when one is given; only {"enabled": true} when neither is given, so that the default theme
// shows. Throws std::runtime_error with a readable reason when the file cannot be read or is
// not a property-list dictionary.
std::string previewSettingsXml(const std::optional<std::filesystem::path>& settingsFile, const std::optional<std::string>& theme);

}  // namespace obscuro::cli
