// Whole-file reads and writes at device paths, with the atomic replacement writeToFile:atomically: promises.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// The bytes of the regular file at a device path; nullopt when the path is refused, the file
// is missing, is a folder or cannot be read.
std::optional<std::vector<std::uint8_t>> readDeviceFile(std::string_view devicePath);

// Writes `bytes` as the whole file at a device path; the folder must exist.
// Atomically: a temporary file in the same folder is written, flushed to disk, renamed over
// the target and the folder flushed, so that the target is always either the old file or the
// new one, even when the process dies midway. On any failure the temporary file is removed,
// the old file is untouched and the result is false (with a reason in `error`).
// Not atomically: the file is truncated and written in place.
bool writeDeviceFile(std::string_view devicePath, std::span<const std::uint8_t> bytes, bool atomically, std::string* error = nullptr);

}  // namespace foundation
