// open of device paths: the file comes from inside the device root.
#include <device/device.h>

#include <cerrno>

namespace device {

int open(const char* devicePath, int flags, mode_t mode) {
    if (!devicePath) {
        errno = EFAULT;
        return -1;
    }
    auto hostPath = resolve(devicePath);
    if (!hostPath) {
        errno = ENOENT;
        return -1;
    }
    return ::open(hostPath->c_str(), flags, mode);
}

}  // namespace device
