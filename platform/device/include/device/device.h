// The device file system: absolute device paths resolved inside one device root folder, and the C calls that use them.
#pragma once

#include <dlfcn.h>  // RTLD_LAZY = 1 and RTLD_NOW = 2, the phone's values
#include <spawn.h>
#include <sys/types.h>

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

// --- Loading libraries ---------------------------------------------------------------------

// dlopen of a device path. A nil path opens the host program itself, as on the phone. A
// refused path fails with a dlerror text that names the device path and the root.
void* dlopen(const char* devicePath, int mode);
void* dlsym(void* handle, const char* symbol);
// The last loader error of this thread, then nil until the next error; as the C call.
const char* dlerror();

// --- Spawning device programs --------------------------------------------------------------

// posix_spawn of a device program: `path` is resolved in the device root (ENOENT when refused).
// The child's environment is `envp` (empty when nil) with OBSCURO_DEVICE_ROOT set to the root,
// so that a device program finds the same device. Returns 0 or an error number, as the C call.
int posix_spawn(pid_t* pid, const char* path, const posix_spawn_file_actions_t* fileActions, const posix_spawnattr_t* attributes,
                char* const argv[], char* const envp[]);

// Called with each device program that posix_spawn is about to start (its device path and its
// arguments, nil-terminated), on the spawning thread; nil stops observing. One observer per
// process, for hosts that report which programs the code they run launched.
using SpawnObserver = void (*)(std::string_view devicePath, char* const argv[]);
void setSpawnObserver(SpawnObserver observer);

// waitpid with the phone's option bits (WNOHANG 1, WUNTRACED 2, WEXITED 4, WSTOPPED 8,
// WCONTINUED 0x10), translated for this system, whose waitpid refuses WEXITED.
pid_t waitpid(pid_t pid, int* status, int options);

}  // namespace device
