// A throwaway device for the Preferences tests: a bundle folder to hold specifier files, an empty preferences folder, and a notification counter.
#pragma once

#include <Foundation/Foundation.h>
#include <Preferences/Preferences.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace preferences_test {

inline constexpr const char* kDomain = "com.example.testprefs";
inline constexpr const char* kSettingsPath = "/var/mobile/Library/Preferences/com.example.testprefs.plist";
inline constexpr const char* kBundlePath = "/Library/PreferenceBundles/TestPrefs.bundle";
inline constexpr const char* kChanged = "com.example.testprefs/changed";

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path hostPath(const std::string& devicePath) const { return root_ / devicePath.substr(1); }
    // Writes `plist` as the device file `devicePath` (folders made as needed).
    void writePlist(const std::string& devicePath, NSDictionary* plist) const;
    void writeText(const std::string& devicePath, const std::string& text) const;
    // The settings file as it is now; nil when it cannot be read.
    NSDictionary* settings() const;
    // A page of class TestPage (or `cls`) whose bundle is the test bundle.
    objc::Strong<PSListController> page(Class cls = nullptr) const;

    // The posts of kChanged (counted from SetUp on) that have reached this process after
    // running the main run loop for `seconds`.
    int changesAfter(double seconds);

    objc::AutoreleasePool pool_;
    std::filesystem::path root_;
};

// A page class for the tests, registered once: "TestPage" (a PSListController) with the
// actions `tapped` and `tappedWith:` that count into these, and `badAction:` taking a long.
extern int gTapped;
extern id gTappedWith;
Class testPageClass();

// A specifier item of a specifier file: {"cell": cell, "label": label, plus extra entries}.
NSDictionary* item(const char* cell, const char* label, std::initializer_list<std::pair<id, id>> extra = {});

}  // namespace preferences_test
