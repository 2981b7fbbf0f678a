// dlopen, dlsym and dlerror of device paths: libraries are loaded from inside the device root.
#include <device/device.h>

#include <string>
#include <system_error>

namespace objc::detail {
void attachLoadedImage(void* handle);  // the runtime's side of loading a library
}

namespace device {

namespace {

// An error of this layer waits here until dlerror reports it, like the loader's own.
thread_local std::string tPendingError;
thread_local bool tHasPendingError = false;
thread_local std::string tReportedError;

void fail(std::string message) {
    tPendingError = std::move(message);
    tHasPendingError = true;
}

}  // namespace

void* dlopen(const char* devicePath, int mode) {
    tHasPendingError = false;
    if (!devicePath) return ::dlopen(nullptr, mode);
    auto hostPath = resolve(devicePath);
    if (!hostPath) {
        auto folder = root();
        if (folder.empty()) fail(std::string(devicePath) + ": cannot open: no device root is set");
        else fail(std::string(devicePath) + ": cannot open: not a path inside the device root " + folder.string());
        return nullptr;
    }
    std::error_code ec;
    if (!std::filesystem::exists(*hostPath, ec)) {
        fail(std::string(devicePath) + ": cannot open: no such file on the device (root " + root().string() + ")");
        return nullptr;
    }
    // The runtime attaches the library's classes and categories as it loads, as the phone's does.
    void* handle = ::dlopen(hostPath->c_str(), mode);
    objc::detail::attachLoadedImage(handle);
    return handle;
}

void* dlsym(void* handle, const char* symbol) {
    tHasPendingError = false;
    return ::dlsym(handle, symbol);
}

const char* dlerror() {
    if (tHasPendingError) {
        tHasPendingError = false;
        ::dlerror();  // an older loader error is superseded by ours
        tReportedError = std::move(tPendingError);
        return tReportedError.c_str();
    }
    return ::dlerror();
}

}  // namespace device
