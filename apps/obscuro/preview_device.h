// The private device a preview's drawing process runs on: its own writable folders, the rest of the device shared by hard links.
#pragma once

#include "device_folder.h"

#include <filesystem>

namespace obscuro::cli {

// Fills the existing, empty folder `to` with the device at `from`, as cheaply as a run that
// only reads most of it allows: everything below var/ (the phone's writable partition, where
// preferences and notification registrations live) is copied, every other file is a hard link
// to the source's (a copy where the file system refuses one), folders are made anew and
// symbolic links are copied as links. Writes the run makes under var/ and files it replaces
// by renaming (as atomic writes do) leave the source untouched; a file outside var/ rewritten
// in place would not, and nothing a preview runs does that. Live registrations
// (var/run/notifyd) are not copied. Throws std::filesystem::filesystem_error when a step fails.
void shareDevice(const std::filesystem::path& from, const std::filesystem::path& to);

// A private device filled by shareDevice in a new temporary folder, removed with everything in
// it when the object goes away (the source's files lose only the extra links).
class SharedDevice : public TemporaryDevice {
public:
    explicit SharedDevice(const std::filesystem::path& source) : TemporaryDevice(source, shareDevice) {}
};

}  // namespace obscuro::cli
