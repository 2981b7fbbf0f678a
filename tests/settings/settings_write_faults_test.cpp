// The maker's root controller under failing writes: the old settings stay whole, the failure is logged and never announced.
#include "settings_device.h"
#include "write_fault_injection.h"

#include <Foundation/NSLog.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace settings_test {
namespace {

using write_faults::Fault;

struct RootFault {
    Fault fault;
    int error;
    const char* name;
};

const RootFault kRootFaults[] = {
    {Fault::createTemporary, ENOSPC, "CreatingTheTemporaryOnAFullDisk"},
    {Fault::diskFullMidway, ENOSPC, "DiskFullHalfwayThrough"},
    {Fault::flush, EIO, "Flushing"},
    {Fault::rename, EACCES, "Renaming"},
};

class RootControllerWriteFaults : public ::testing::TestWithParam<RootFault> {
protected:
    void SetUp() override {
        device.reset();
        platform::setLogObserver([this](const std::string& line) { log.push_back(line); });
    }
    void TearDown() override {
        write_faults::disarm();
        platform::setLogObserver({});
    }

    // A text setting of the root page that announces its changes, as the specifier files have them.
    PSSpecifier* setting(const char* key) {
        auto* specifier = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                            static_cast<NSString*>(objc::str(key)), static_cast<id>(root()),
                                            sel<"setPreferenceValue:specifier:">(), sel<"readPreferenceValue:">(),
                                            static_cast<Class>(nullptr), static_cast<long>(PSEditTextCell), static_cast<Class>(nullptr));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(key)), static_cast<id>(NSSTR("key")));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(kDomain)), static_cast<id>(NSSTR("defaults")));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(kChanged)), static_cast<id>(NSSTR("PostNotification")));
        return specifier;
    }
    PSListController* root() { return device.page("Root").controller.get(); }
    std::string fileContents() const {
        std::ifstream in(device.hostPath(kSettingsPath), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    SettingsDevice& device = SettingsDevice::shared();
    objc::AutoreleasePool pool;
    std::vector<std::string> log;
};

TEST_P(RootControllerWriteFaults, KeepTheOldFileLogAndAnnounceNothing) {
    PSSpecifier* theme = setting("theme");
    msg<void>(root(), sel<"setPreferenceValue:specifier:">(), static_cast<id>(NSSTR("midnight")), static_cast<id>(theme));
    ASSERT_GT(device.changesAfter(0.1), 0) << "a write that works is announced";
    device.reset();
    device.writeSettings(objc::dict({{NSSTR("theme"), NSSTR("midnight")}}));
    std::string before = fileContents();

    write_faults::arm(GetParam().fault, GetParam().error);
    msg<void>(root(), sel<"setPreferenceValue:specifier:">(), static_cast<id>(NSSTR("ocean")), static_cast<id>(theme));
    write_faults::disarm();

    EXPECT_GT(write_faults::injected(), 0);
    EXPECT_EQ(fileContents(), before);
    EXPECT_EQ(objc::utf8(msg<id>(root(), sel<"readPreferenceValue:">(), static_cast<id>(theme))), "midnight");
    EXPECT_EQ(device.changesAfter(0.1), 0) << "a failed write is not announced as a change";
    bool logged = false;
    for (const auto& line : log) logged = logged || line.find("Could not write") != std::string::npos;
    EXPECT_TRUE(logged);
    for (const auto& entry : std::filesystem::directory_iterator(device.hostPath(kSettingsPath).parent_path()))
        EXPECT_EQ(entry.path().filename(), std::filesystem::path(kSettingsPath).filename()) << "a temporary was left behind";
}

INSTANTIATE_TEST_SUITE_P(EveryStep, RootControllerWriteFaults, ::testing::ValuesIn(kRootFaults),
                         [](const ::testing::TestParamInfo<RootFault>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace settings_test
