// A fresh device root folder for one test, made the process's device and removed afterwards.
#pragma once

#include <device/device.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TemporaryDevice {
public:
    TemporaryDevice() {
        std::string pattern = (std::filesystem::temp_directory_path() / "device-XXXXXX").string();
        folder_ = ::mkdtemp(pattern.data());
        previous_ = device::root();
        device::setRoot(folder_);
    }
    ~TemporaryDevice() {
        device::setRoot(previous_);
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    TemporaryDevice(const TemporaryDevice&) = delete;
    TemporaryDevice& operator=(const TemporaryDevice&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    // The host path of a device path, without any checks: where a test puts fixtures.
    std::filesystem::path host(const std::string& devicePath) const { return folder_ / devicePath.substr(1); }

    void write(const std::string& devicePath, const std::string& contents) const {
        auto path = host(devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }

private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};
