// The throwaway device, the test page class and specifier items for the Preferences tests.
#include "preferences_fixture.h"

#include <CoreFoundation/CoreFoundation.h>
#include <device/device.h>

#include <chrono>
#include <fstream>

namespace preferences_test {

int gTapped = 0;
id gTappedWith = nullptr;

namespace {

int gChanges = 0;

void countChange(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { ++gChanges; }

}  // namespace

Class testPageClass() {
    static Class cls = objc::ClassBuilder<PSListController>("TestPage", PSListController::class_())
                           .method(sel<"tapped">(), [](PSListController*, SEL) { ++gTapped; })
                           .method(sel<"tappedWith:">(), [](PSListController*, SEL, id specifier) { gTappedWith = specifier; })
                           .method(sel<"badAction:">(), [](PSListController*, SEL, long) { ++gTapped; })
                           .registerClass();
    return cls;
}

NSDictionary* item(const char* cell, const char* label, std::initializer_list<std::pair<id, id>> extra) {
    auto* entries = static_cast<NSMutableDictionary*>(msg<id>(objc::dict(extra), sel<"mutableCopy">()));
    objc::autorelease(entries);
    if (cell) msg<void>(entries, sel<"setObject:forKey:">(), static_cast<id>(objc::str(cell)), static_cast<id>(NSSTR("cell")));
    if (label) msg<void>(entries, sel<"setObject:forKey:">(), static_cast<id>(objc::str(label)), static_cast<id>(NSSTR("label")));
    return entries;
}

// The notification centre keeps its registrations under the first device root a process uses,
// so every test of this executable runs on the same device, emptied between tests.
struct SharedDevice {
    SharedDevice() {
        char pattern[] = "/tmp/preferences-test-XXXXXX";
        if (::mkdtemp(pattern)) root = pattern;
    }
    ~SharedDevice() {
        std::error_code error;
        std::filesystem::remove_all(root, error);
    }
    std::filesystem::path root;
};

void PreferencesTest::SetUp() {
    static SharedDevice shared;
    ASSERT_FALSE(shared.root.empty());
    root_ = shared.root;
    std::error_code error;
    std::filesystem::remove_all(root_ / "Library", error);
    std::filesystem::remove_all(root_ / "var/mobile", error);
    std::filesystem::create_directories(hostPath("/var/mobile/Library/Preferences"));
    std::filesystem::create_directories(hostPath(kBundlePath));
    device::setRoot(root_);
    gTapped = 0;
    gTappedWith = nullptr;
    gChanges = 0;
    testPageClass();
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &gChanges, countChange,
                                    CFStringCreateWithCString(nullptr, kChanged, kCFStringEncodingUTF8), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
}

void PreferencesTest::TearDown() {
    changesAfter(0.05);  // posts of this test arrive here, not in the next one
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &gChanges);
}

void PreferencesTest::writePlist(const std::string& devicePath, NSDictionary* plist) const {
    std::filesystem::create_directories(hostPath(devicePath).parent_path());
    ASSERT_TRUE(msg<BOOL>(plist, sel<"writeToFile:atomically:">(), objc::str(devicePath), YES)) << devicePath;
}

void PreferencesTest::writeText(const std::string& devicePath, const std::string& text) const {
    std::filesystem::create_directories(hostPath(devicePath).parent_path());
    std::ofstream(hostPath(devicePath)) << text;
}

NSDictionary* PreferencesTest::settings() const {
    return msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(kSettingsPath));
}

objc::Strong<PSListController> PreferencesTest::page(Class cls) const {
    auto controller = objc::adopt(msg<PSListController*>(msg<id>(cls ? cls : testPageClass(), sel<"alloc">()), sel<"init">()));
    controller->bundle = objc::retain(msg<NSBundle*>(NSBundle::class_(), sel<"bundleWithPath:">(), objc::str(kBundlePath)));
    return controller;
}

int PreferencesTest::changesAfter(double seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.02, false);
    return gChanges;
}

}  // namespace preferences_test
