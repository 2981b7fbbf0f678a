// The settings loader against a device of its own: flags, theme names, custom colours, Noctis and reloads.
#include "Preferences.h"
#include "tweak_fixture.h"

#include <Foundation/Foundation.h>
#include <device/device.h>

#include <filesystem>
#include <fstream>

namespace obscuro::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSettings = "/var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist";

class PreferencesTest : public ThemeTest {
protected:
    void SetUp() override {
        ThemeTest::SetUp();
        enabled = false;
        root_ = fs::temp_directory_path() / ("obscuro-prefs-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root_ / "var/mobile/Library/Preferences");
        fs::create_directories(root_ / "Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle");
        fs::copy_file(fs::path(OBSCURO_SOURCE_DIR) / "resources/themes.plist",
                      root_ / "Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle/themes.plist");
        previousRoot_ = device::root();
        device::setRoot(root_);
    }
    void TearDown() override {
        device::setRoot(previousRoot_);
        fs::remove_all(root_);
        ThemeTest::TearDown();
    }

    void writePlist(const char* devicePath, id dictionary) {
        ASSERT_TRUE(msg<BOOL>(dictionary, sel<"writeToFile:atomically:">(), objc::str(devicePath), true));
    }
    void touch(const char* devicePath) {
        fs::path p = root_ / fs::path(devicePath).relative_path();
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "";
    }
    void load() { loadPreferences(nullptr, nullptr, nullptr, nullptr, nullptr); }
    id yes() { return msg<id>(objc_getClass("NSNumber"), sel<"numberWithBool:">(), true); }
    id no() { return msg<id>(objc_getClass("NSNumber"), sel<"numberWithBool:">(), false); }

    fs::path root_;
    fs::path previousRoot_;
};

TEST_F(PreferencesTest, NoSettingsFileKeepsTheFlagsAndUsesMidnight) {
    load();
    EXPECT_FALSE(enabled);
    EXPECT_EQ(objc::utf8(theme), "midnight");
    EXPECT_EQ(hexOf(bgColor), "#0B0E14");
    EXPECT_EQ(hexOf(tintColor), "#FF4F7B");
}

TEST_F(PreferencesTest, ThemeNamesAreLowerCasedAndUnknownOnesGiveTheDefaults) {
    writePlist(kSettings, objc::dict({{NSSTR("enabled"), yes()}, {NSSTR("theme"), NSSTR("Ocean")}}));
    load();
    EXPECT_TRUE(enabled);
    EXPECT_EQ(objc::utf8(theme), "Ocean");
    EXPECT_EQ(hexOf(bgColor), "#0A1A2A");
    writePlist(kSettings, objc::dict({{NSSTR("theme"), NSSTR("no-such-theme")}}));
    load();
    EXPECT_EQ(hexOf(bgColor), "#121212");
    EXPECT_EQ(hexOf(darkerBgColor), "#121212");
    EXPECT_EQ(hexOf(mainTextColor), "#FDFDFD");
    EXPECT_EQ(hexOf(barColor), "#121212");
    EXPECT_EQ(hexOf(tintColor), "#FFEBEE");
}

TEST_F(PreferencesTest, CustomColoursComeFromTheSettingsWithFallbacks) {
    writePlist(kSettings, objc::dict({{NSSTR("useCustomColors"), yes()}, {NSSTR("tintColor"), NSSTR("#00FF00")}}));
    load();
    EXPECT_EQ(hexOf(tintColor), "#00FF00");
    EXPECT_EQ(hexOf(bgColor), "#121212");
    EXPECT_EQ(hexOf(mainTextColor), "#FDFDFD");
    writePlist(kSettings, objc::dict({{NSSTR("useCustomColors"), yes()}, {NSSTR("backgroundColor"), NSSTR("#010203")},
                                      {NSSTR("textColor"), NSSTR("#A0B0C0")}}));
    load();
    EXPECT_EQ(hexOf(bgColor), "#010203");
    EXPECT_EQ(hexOf(mainTextColor), "#A0B0C0");
}

TEST_F(PreferencesTest, NoctisIntegrationFollowsTheInstalledEdition) {
    writePlist(kSettings, objc::dict({{NSSTR("enabled"), yes()}, {NSSTR("noctisIntegration"), yes()}}));
    load();
    EXPECT_FALSE(enabled);  // no Noctis installed
    touch("/Library/MobileSubstrate/DynamicLibraries/Noctis12.dylib");
    writePlist("/var/mobile/Library/Preferences/com.merrowind.noctis12prefs.settings.plist", objc::dict({{NSSTR("enabled"), no()}}));
    load();
    EXPECT_FALSE(enabled);
    writePlist("/var/mobile/Library/Preferences/com.merrowind.noctis12prefs.settings.plist", objc::dict({{NSSTR("enabled"), yes()}}));
    load();
    EXPECT_TRUE(enabled);
}

TEST_F(PreferencesTest, ReloadsKeepFlagsWhoseKeysWereRemoved) {
    writePlist(kSettings, objc::dict({{NSSTR("useDarkPlaceholder"), no()}, {NSSTR("enabled"), yes()}}));
    load();
    EXPECT_FALSE(useDarkPlaceholder);
    writePlist(kSettings, objc::dict({{NSSTR("enabled"), yes()}}));
    load();
    EXPECT_FALSE(useDarkPlaceholder);
}

TEST_F(PreferencesTest, DamagedValuesAreTreatedAsAbsent) {
    writePlist(kSettings, objc::dict({{NSSTR("enabled"), objc::array({NSSTR("x")})}, {NSSTR("theme"), yes()}}));
    load();
    EXPECT_FALSE(enabled);
    EXPECT_EQ(objc::utf8(theme), "midnight");
    fs::path settings = root_ / fs::path(kSettings).relative_path();
    std::ofstream(settings, std::ios::trunc) << "not a property list";
    load();
    EXPECT_EQ(objc::utf8(theme), "midnight");
}

}  // namespace
}  // namespace obscuro::testing
