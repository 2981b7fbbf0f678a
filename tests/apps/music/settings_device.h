// A copy of the staged device with settings of a test's own, removed at the end, so that the default device's preferences are never written.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace music_test {

class SettingsDevice {
public:
    // `tag` names the temporary folder; `settings` is the settings file's whole text.
    SettingsDevice(const char* tag, const char* settings) {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / (std::string(tag) + "-XXXXXX")).string();
        root_ = ::mkdtemp(pattern.data());
        fs::copy(OBSCURO_DEVICE_ROOT, root_, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::path preferences = root_ / "var/mobile/Library/Preferences";
        fs::create_directories(preferences);
        std::ofstream(preferences / "com.tarnwick.obscurosettings.plist") << settings;
    }
    ~SettingsDevice() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    SettingsDevice(const SettingsDevice&) = delete;
    SettingsDevice& operator=(const SettingsDevice&) = delete;

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

}  // namespace music_test
