// The private device a preview's drawing process runs on: its own writable folders, the rest of the device shared by hard links.
#pragma once

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
class SharedDevice {
public:
    // Throws std::runtime_error (with the reason) when the folder cannot be made or filled.
    explicit SharedDevice(const std::filesystem::path& source);
    ~SharedDevice();
    SharedDevice(const SharedDevice&) = delete;
    SharedDevice& operator=(const SharedDevice&) = delete;

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

}  // namespace obscuro::cli
