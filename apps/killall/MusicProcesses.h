// The simulated Music app's processes on one device: found through /proc, and restarted as a new start of the app.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <vector>

namespace killall {

// Every running obscuro-music process of this user whose device is `deviceRoot`: its device is
// its --root argument (relative to its working folder), else its OBSCURO_DEVICE_ROOT, else the
// device the build staged. Processes of other devices, other programs and other users are never
// listed. `deviceRoot` is compared after resolving links.
std::vector<pid_t> musicProcessesOnDevice(const std::filesystem::path& deviceRoot);

// Ends the process (SIGTERM, then SIGKILL after a grace period) and starts the same program again
// with the same arguments, environment and working folder, writing to the same output and error
// as before; the new process is not a child to wait for. Returns the new process id, or -1 when
// the process was gone or the program could not be started again.
pid_t restartMusicProcess(pid_t pid);

}  // namespace killall
