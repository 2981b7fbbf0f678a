// Device roots as folders: the default device the build staged, faithful copies, and private throwaway copies.
#pragma once

#include <filesystem>
#include <string>

namespace obscuro::cli {

// Copies the device at `from` into the existing, empty folder `to`: folders, files and
// symbolic links as they are. Live notification registrations (var/run/notifyd) belong to the
// processes of the source device and are not copied, nor are sockets or pipes. Throws
// std::filesystem::filesystem_error when a copy fails.
void copyDevice(const std::filesystem::path& from, const std::filesystem::path& to);

// How mirrorDevice places one regular file: from the source, at the target, given its path
// relative to the device root.
using FilePlacement = void (*)(const std::filesystem::path& from, const std::filesystem::path& to,
                               const std::filesystem::path& relative);

// The walk copyDevice makes, with each regular file placed by `place` instead of copied.
void mirrorDevice(const std::filesystem::path& from, const std::filesystem::path& to, FilePlacement place);

// How a private device is made from its source: copyDevice, or another filling of the same shape.
using DeviceFilling = void (*)(const std::filesystem::path& from, const std::filesystem::path& to);

// A private device in a new temporary folder, filled from `source` by `fill` (a faithful copy by
// default), removed with everything in it when the object goes away.
class TemporaryDevice {
public:
    // Throws std::runtime_error (with the reason) when the folder cannot be made or filled.
    explicit TemporaryDevice(const std::filesystem::path& source, DeviceFilling fill = copyDevice);
    ~TemporaryDevice();
    TemporaryDevice(const TemporaryDevice&) = delete;
    TemporaryDevice& operator=(const TemporaryDevice&) = delete;

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

}  // namespace obscuro::cli
