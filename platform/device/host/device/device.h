// The device root of this stand-in: choosing the folder that holds the device, resolving device paths, and observing their use.
#pragma once

#include <device/libc.h>

#include <filesystem>
#include <optional>
#include <string_view>

namespace device {

// --- The device root -----------------------------------------------------------------------

// Chooses the folder that holds the device: "/var/mobile/x" then means <root>/var/mobile/x.
// A relative folder is made absolute against the current directory. An empty path leaves the
// process with no device, where every device path is refused. Thread-safe.
void setRoot(const std::filesystem::path& folder);

// The folder chosen by setRoot, or, until then, the environment variable OBSCURO_DEVICE_ROOT;
// empty when there is no device.
std::filesystem::path root();

// The device the build staged, where a host program runs when it is given no other.
std::filesystem::path stagedRoot();

// The device a host program runs on when it is given no folder of its own:
// $OBSCURO_DEVICE_ROOT when set and not empty, otherwise stagedRoot().
std::filesystem::path defaultRoot();

// How the last component of a device path is treated when it is a symbolic link.
enum class LastLink { follow, keep };

// Resolves an absolute device path to the host path of the same file inside the root.
// Refused (nullopt) as if the file did not exist: no root, a relative or empty path, a ".."
// component, or a symbolic link anywhere on the path whose target lies outside the root.
// Links that stay inside the root are followed (the last one only with LastLink::follow),
// so the result is the file's real location. The file itself need not exist; a missing
// component ends link checking, since nothing below it can be a link.
std::optional<std::filesystem::path> resolve(std::string_view devicePath, LastLink last = LastLink::follow);

// Called with each absolute device path that is resolved (to be read, written, tested or
// loaded) on the thread that resolves it, before the answer is known; nil stops observing. One
// observer per process, for hosts that report which device files the code they load uses. The
// observer must not resolve paths itself.
using ResolveObserver = void (*)(std::string_view devicePath);
void setResolveObserver(ResolveObserver observer);

// --- Observing spawned programs ----------------------------------------------------------

// Called with each device program that posix_spawn is about to start (its device path and its
// arguments, nil-terminated), on the spawning thread; nil stops observing. One observer per
// process, for hosts that report which programs the code they run launched.
using SpawnObserver = void (*)(std::string_view devicePath, char* const argv[]);
void setSpawnObserver(SpawnObserver observer);

}  // namespace device
