// The shared device of the in-process settings tests, and the bundle's installation into a device.
#include "settings_device.h"

#include <CoreFoundation/CoreFoundation.h>
#include <device/device.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace fs = std::filesystem;

namespace settings_test {

namespace {

int gChanges = 0;

void countChange(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { ++gChanges; }

}  // namespace

void installSettingsBundle(const fs::path& root) {
    fs::path bundle = root / "Library/PreferenceBundles/obscurosettings.bundle";
    fs::create_directories(bundle);
    fs::create_directories(root / "Library/PreferenceLoader/Preferences");
    fs::create_directories(root / "var/mobile/Library/Preferences");
    fs::create_directories(root / "usr/bin");
    for (const auto& file : fs::directory_iterator(fs::path(OBSCURO_SOURCE_DIR) / "settings/Resources"))
        fs::copy_file(file.path(), bundle / file.path().filename(), fs::copy_options::overwrite_existing);
    fs::copy_file(OBSCURO_SETTINGS_BUNDLE_LIBRARY, bundle / "obscurosettings", fs::copy_options::overwrite_existing);
    fs::copy_file(fs::path(OBSCURO_SOURCE_DIR) / "settings/entry.plist", root / "Library/PreferenceLoader/Preferences/obscurosettings.plist",
                  fs::copy_options::overwrite_existing);
}

SettingsDevice& SettingsDevice::shared() {
    static SettingsDevice device;
    return device;
}

SettingsDevice::SettingsDevice() {
    char pattern[] = "/tmp/settings-test-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("cannot make a device folder");
    root_ = pattern;
    installSettingsBundle(root_);
    fs::create_directories(root_ / "var/tmp");
    {
        std::ofstream script(root_ / "usr/bin/killall");
        script << "#!/bin/sh\nsleep 0.2\nprintf '%s\\n' \"$@\" > \"$OBSCURO_DEVICE_ROOT/var/tmp/killall.args\"\n";
    }
    fs::permissions(root_ / "usr/bin/killall", fs::perms::owner_all);
    device::setRoot(root_);
    std::string error;
    session_ = settings::SettingsSession::open("obscurosettings", &error);
    if (!session_) throw std::runtime_error("the bundle does not open: " + error);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &gChanges, countChange, CFStringCreateWithCString(nullptr, kChanged, kCFStringEncodingUTF8), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
}

SettingsDevice::~SettingsDevice() {
    std::error_code error;
    fs::remove_all(root_, error);
}

const settings::Page& SettingsDevice::page(const std::string& name) {
    const settings::Page* found = session_->page("obscurosettings", name);
    if (!found) throw std::runtime_error("no page " + name);
    return *found;
}

void SettingsDevice::reset() {
    changesAfter(0.05);  // lets posts of the previous test arrive before counting starts
    gChanges = 0;
    std::error_code error;
    fs::remove_all(hostPath(kSettingsPath), error);
    fs::remove(hostPath("/var/tmp/killall.args"), error);
}

NSDictionary* SettingsDevice::settings() const {
    return msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(kSettingsPath));
}

void SettingsDevice::writeSettings(NSDictionary* settings) const {
    msg<BOOL>(settings, sel<"writeToFile:atomically:">(), objc::str(kSettingsPath), YES);
}

int SettingsDevice::changesAfter(double seconds) const {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.02, false);
    return gChanges;
}

}  // namespace settings_test
