// Both deliverables carry the toolkit's categories: in one process each attaches as it loads, and the one loaded last wins.
#include <device/device.h>
#include <objc/NSObject.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr const char* kTweak = "/Library/MobileSubstrate/DynamicLibraries/Obscuro.dylib";
constexpr const char* kBundle = "/Library/PreferenceBundles/obscurosettings.bundle/obscurosettings";

// The file whose code the method runs.
std::string libraryOf(Class cls, const char* selector) {
    Dl_info info{};
    IMP imp = method_getImplementation(class_getInstanceMethod(cls, sel_registerName(selector)));
    if (!imp || !dladdr(reinterpret_cast<void*>(imp), &info) || !info.dli_fname) return "nowhere";
    return fs::path(info.dli_fname).filename().string();
}

// Runs in a child process: loads the two libraries in the order given from a device of their
// own and names, on stderr, the library each category method comes from.
[[noreturn]] void loadAndReport(const char* first, const char* second) {
    std::string pattern = (fs::temp_directory_path() / "deliverables-XXXXXX").string();
    fs::path root = mkdtemp(pattern.data());
    for (auto [devicePath, built] : {std::pair{kTweak, OBSCURO_TWEAK_LIBRARY}, std::pair{kBundle, OBSCURO_SETTINGS_LIBRARY}}) {
        fs::path target = root / fs::path(devicePath).relative_path();
        fs::create_directories(target.parent_path());
        fs::copy_file(built, target);
    }
    device::setRoot(root);
    bool opened = device::dlopen(first, RTLD_NOW) && device::dlopen(second, RTLD_NOW);
    std::fprintf(stderr, "opened %d colour %s image %s text %s magicien %s\n", opened,
                 libraryOf(objc_getClass("UIColor"), "lighterColor").c_str(), libraryOf(objc_getClass("UIImage"), "imageWithTint:").c_str(),
                 libraryOf(objc_getClass("NSAttributedString"), "replaceColorsWith:").c_str(),
                 libraryOf(object_getClass(reinterpret_cast<id>(objc_getClass("Magicien"))), "printHex:").c_str());
    std::error_code ignored;
    fs::remove_all(root, ignored);
    std::_Exit(0);
}

TEST(DeliverablesDeathTest, TheLibraryLoadedLastProvidesTheCategoryMethods) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(loadAndReport(kTweak, kBundle), testing::ExitedWithCode(0),
                "opened 1 colour obscurosettings image obscurosettings text obscurosettings magicien obscurosettings");
    EXPECT_EXIT(loadAndReport(kBundle, kTweak), testing::ExitedWithCode(0),
                "opened 1 colour Obscuro.dylib image Obscuro.dylib text Obscuro.dylib magicien Obscuro.dylib");
}

}  // namespace
