// The device the in-process settings tests share: the product's bundle installed as the build stages it, opened once.
#pragma once

#include <settings/SettingsSession.h>

#include <Foundation/Foundation.h>

#include <filesystem>
#include <string>

namespace settings_test {

inline constexpr const char* kDomain = "com.tarnwick.obscurosettings";
inline constexpr const char* kSettingsPath = "/var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist";
inline constexpr const char* kChanged = "com.tarnwick.obscurosettings/settingschanged";

// A bundle library loads once per process, so the tests of one executable share one device
// and one session. Its /usr/bin/killall is a script that waits a moment and then records its
// arguments in /var/tmp/killall.args.
class SettingsDevice {
public:
    static SettingsDevice& shared();

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path hostPath(const std::string& devicePath) const { return root_ / devicePath.substr(1); }
    settings::SettingsSession& session() { return *session_; }
    const settings::Page& page(const std::string& name);

    // Removes the settings file and everything else a test left in /var.
    void reset();
    NSDictionary* settings() const;  // nil when the file cannot be read
    void writeSettings(NSDictionary* settings) const;
    // The posts of the settings-changed notification counted since reset(), after running the
    // main run loop for `seconds`.
    int changesAfter(double seconds) const;

    ~SettingsDevice();

private:
    SettingsDevice();
    std::filesystem::path root_;
    std::unique_ptr<settings::SettingsSession> session_;
};

// Lays out a device at `root` with the product's bundle, its PreferenceLoader entry and an
// empty preferences folder, as the build stages them.
void installSettingsBundle(const std::filesystem::path& root);

}  // namespace settings_test
