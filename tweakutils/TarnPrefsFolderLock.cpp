// The settings folder's flock, taken through the device file system.
#include "TarnPrefsFolderLock.h"

#include <device/libc.h>

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tarnprefs {

TarnPrefsFolderLock::TarnPrefsFolderLock(const std::string& settingsFilePath) {
    auto slash = settingsFilePath.rfind('/');
    if (slash == std::string::npos || slash == 0) return;
    fd_ = device::open(settingsFilePath.substr(0, slash).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

TarnPrefsFolderLock::~TarnPrefsFolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace tarnprefs
