// A copy of the staged device in a temporary folder, with a settings file of the benchmark's choosing.
#pragma once

#include <device/device.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace bench {

// The default device (Library, Applications, usr) copied under /tmp and made the current
// device root, with an empty Preferences folder. The staged device has no settings file, and
// without one the product stays off, so a benchmark that wants the product at work either gives
// `settingsXml` (the body of a property-list dictionary) for the product's settings file here or
// writes its settings itself. Removed when it goes.
class PrivateDevice {
public:
    PrivateDevice() {
        namespace fs = std::filesystem;
        char pattern[] = "/tmp/obscuro-bench-XXXXXX";
        if (!::mkdtemp(pattern)) throw std::runtime_error("cannot make a temporary device");
        root_ = pattern;
        for (const char* folder : {"Library", "Applications", "usr"})
            if (fs::exists(fs::path(OBSCURO_DEVICE_ROOT) / folder))
                fs::copy(fs::path(OBSCURO_DEVICE_ROOT) / folder, root_ / folder, fs::copy_options::recursive);
        fs::create_directories(preferences());
        device::setRoot(root_);
    }
    explicit PrivateDevice(const std::string& settingsXml) : PrivateDevice() {
        std::ofstream(preferences() / "com.tarnwick.obscurosettings.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
               "<plist version=\"1.0\"><dict>"
            << settingsXml << "</dict></plist>\n";
    }
    ~PrivateDevice() {
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }
    PrivateDevice(const PrivateDevice&) = delete;
    PrivateDevice& operator=(const PrivateDevice&) = delete;

    // The device's folder on this machine.
    const std::filesystem::path& root() const { return root_; }
    // The host path of a device path such as "/Library/...".
    std::filesystem::path hostPath(const std::string& devicePath) const { return root_ / devicePath.substr(1); }

private:
    std::filesystem::path preferences() const { return root_ / "var/mobile/Library/Preferences"; }

    std::filesystem::path root_;
};

}  // namespace bench
