// The tweak loader: filter plists pick which libraries load into the host; broken ones are skipped with a message.
#include <Foundation/Foundation.h>
#include <device/device.h>
#include <objc/NSObject.h>
#include <substrate/TweakLoader.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using Outcome = platform::TweakLoadEntry::Outcome;

// A device of its own for one test, made the process's device while the test runs.
class StagedDevice {
public:
    StagedDevice() {
        std::string pattern = (fs::temp_directory_path() / "substrate-device-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        previous_ = device::root();
        device::setRoot(root_);
        fs::create_directories(libraries());
    }
    ~StagedDevice() {
        device::setRoot(previous_);
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    fs::path libraries() const { return root_ / "Library/MobileSubstrate/DynamicLibraries"; }
    void write(const std::string& fileName, const std::string& contents) const { std::ofstream(libraries() / fileName) << contents; }
    void install(const std::string& name, const std::string& filter, const char* library) const {
        write(name + ".plist", plist("<key>Filter</key><dict>" + filter + "</dict>"));
        if (library) fs::copy_file(library, libraries() / (name + ".dylib"));
    }

    static std::string plist(const std::string& body) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + body + "</dict></plist>\n";
    }
    static std::string strings(const std::string& key, std::initializer_list<const char*> values) {
        std::string text = "<key>" + key + "</key><array>";
        for (const char* value : values) text += std::string("<string>") + value + "</string>";
        return text + "</array>";
    }

private:
    fs::path root_, previous_;
};

// The class the test tweaks hook: -greeting answers 1 until a tweak adds to it.
Class loaderTarget() {
    static Class cls = [] {
        Class c = objc_allocateClassPair(NSObject::class_(), "LoaderTarget", 0);
        objc::addMethod(c, sel<"greeting">(), [](id, SEL) -> long { return 1; });
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

long greeting() {
    objc::Strong<objc_object> target = objc::adopt(class_createInstance(loaderTarget()));
    return msg<long>(target.get(), sel<"greeting">());
}

TEST(TweakLoader, LoadsOnlyTheTweaksWhoseFilterNamesThisHost) {
    loaderTarget();
    StagedDevice device;
    device.install("A-ForThisBundle", StagedDevice::strings("Bundles", {"com.apple.other", "com.test.loaderhost"}), BUNDLE_TWEAK);
    device.install("B-ForAnotherApp", StagedDevice::strings("Bundles", {"com.apple.other"}) + StagedDevice::strings("Executables", {"Other"}),
                   OTHER_TWEAK);
    device.install("C-ForThisExecutable", StagedDevice::strings("Executables", {"loaderhost"}), EXECUTABLE_TWEAK);
    device.write("D-NotAPlist.txt", "ignored");

    platform::TweakLoadReport report = platform::loadTweaks("com.test.loaderhost", "loaderhost");

    EXPECT_EQ(greeting(), 1 + 100 + 10000) << "the bundle and executable tweaks ran; the other one did not";
    EXPECT_EQ(report.loaded(), (std::vector<std::string>{"A-ForThisBundle", "C-ForThisExecutable"}));
    ASSERT_EQ(report.entries.size(), 3u);
    EXPECT_EQ(report.entries[1].outcome, Outcome::NotForThisHost);
    EXPECT_EQ(report.describe(),
              "A-ForThisBundle: loaded\n"
              "B-ForAnotherApp: skipped (the filter names neither this bundle nor this executable)\n"
              "C-ForThisExecutable: loaded\n");
}

TEST(TweakLoader, BrokenFiltersAndLibrariesAreSkippedWithAMessage) {
    StagedDevice device;
    device.write("1-Garbage.plist", "this is not a property list");
    device.write("2-FilterIsAString.plist", StagedDevice::plist("<key>Filter</key><string>com.test.loaderhost</string>"));
    device.write("3-BundlesIsAString.plist", StagedDevice::plist("<key>Filter</key><dict><key>Bundles</key><string>x</string></dict>"));
    device.install("4-NoLibrary", StagedDevice::strings("Bundles", {"com.test.loaderhost"}), nullptr);
    device.install("5-NotALibrary", StagedDevice::strings("Bundles", {"com.test.loaderhost"}), nullptr);
    device.write("5-NotALibrary.dylib", "not machine code");
    device.write("6-NoFilter.plist", StagedDevice::plist("<key>Name</key><string>x</string>"));

    testing::internal::CaptureStderr();
    platform::TweakLoadReport report = platform::loadTweaks("com.test.loaderhost", "loaderhost");
    std::string messages = testing::internal::GetCapturedStderr();

    ASSERT_EQ(report.entries.size(), 6u);
    const Outcome expected[] = {Outcome::BrokenFilter, Outcome::BrokenFilter, Outcome::BrokenFilter,
                                Outcome::LoadFailed,   Outcome::LoadFailed,   Outcome::NotForThisHost};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(report.entries[i].outcome, expected[i]) << report.entries[i].name;
    EXPECT_TRUE(report.loaded().empty());
    for (const char* name : {"1-Garbage", "2-FilterIsAString", "3-BundlesIsAString", "4-NoLibrary", "5-NotALibrary"})
        EXPECT_NE(messages.find(std::string("tweak loader: ") + name + " skipped"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("6-NoFilter"), std::string::npos) << "a plist without a filter is not an error";
}

TEST(TweakLoader, ADeviceWithoutTheFolderLoadsNothing) {
    StagedDevice device;
    fs::remove_all(device.libraries());
    EXPECT_TRUE(platform::loadTweaks("com.test.loaderhost", "loaderhost").entries.empty());
}

}  // namespace
