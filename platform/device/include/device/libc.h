// The phone's C library calls that take device paths: opening files, loading libraries, spawning and waiting for programs.
#pragma once

#include <dlfcn.h>  // RTLD_LAZY = 1 and RTLD_NOW = 2, the phone's values
#include <fcntl.h>  // O_RDONLY, O_DIRECTORY, O_CLOEXEC and the other open flags
#include <spawn.h>
#include <sys/types.h>

// Each call resolves its path inside the device the host chose, so code written against the phone
// names the phone's absolute paths ("/var/mobile/...", "/usr/bin/...") and never this machine's.
namespace device {

// --- Opening files -------------------------------------------------------------------------

// open of a device path: the descriptor of the file inside the device, or -1 with errno set, as the
// C call. A path the device refuses (no device, relative, "..", a link leading out) fails with ENOENT.
int open(const char* devicePath, int flags, mode_t mode = 0);

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

// waitpid with the phone's option bits (WNOHANG 1, WUNTRACED 2, WEXITED 4, WSTOPPED 8,
// WCONTINUED 0x10), translated for this system, whose waitpid refuses WEXITED.
pid_t waitpid(pid_t pid, int* status, int options);

}  // namespace device
