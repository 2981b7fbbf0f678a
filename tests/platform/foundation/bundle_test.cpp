// NSBundle: one instance per folder, Info.plist questions, resource lookup order, and loading a bundle's library.
#include <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include "temporary_device.h"

#include <filesystem>
#include <mutex>
#include <vector>

namespace {

const char* const kInfo = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>CFBundleIdentifier</key><string>com.example.testbundle</string>
  <key>CFBundleExecutable</key><string>%s</string>
  <key>NSPrincipalClass</key><string>FoundationTestPrincipal</string>
</dict></plist>
)";

std::string info(const std::string& executable) {
    std::string text = kInfo;
    return text.replace(text.find("%s"), 2, executable);
}

class Bundles : public ::testing::Test {
protected:
    NSBundle* bundle(const std::string& path) { return msg<NSBundle*>(NSBundle::class_(), sel<"bundleWithPath:">(), objc::str(path)); }
    std::string path(NSBundle* b, const char* name, const char* type) {
        NSString* found = msg<NSString*>(b, sel<"pathForResource:ofType:">(), name ? objc::str(name) : nullptr, type ? objc::str(type) : nullptr);
        return found ? found->utf8() : "<nil>";
    }
    std::vector<std::string> logged() {
        std::lock_guard lock(logLock_);
        return log_;
    }
    void SetUp() override {
        platform::setLogObserver([this](const std::string& message) {
            std::lock_guard lock(logLock_);
            log_.push_back(message);
        });
    }
    void TearDown() override { platform::setLogObserver({}); }

    TemporaryDevice device_;
    objc::AutoreleasePool pool_;
    std::mutex logLock_;
    std::vector<std::string> log_;
};

TEST_F(Bundles, OneInstancePerFolderAndNilWithoutOne) {
    device_.write("/Library/PreferenceBundles/One.bundle/Info.plist", info("One"));
    device_.write("/Library/PreferenceBundles/file.bundle", "not a folder");
    NSBundle* one = bundle("/Library/PreferenceBundles/One.bundle");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(bundle("/Library/PreferenceBundles/One.bundle/"), one);
    id alloc = msg<id>(NSBundle::class_(), sel<"alloc">());
    id owned = msg<id>(alloc, sel<"initWithPath:">(), objc::str("/Library/PreferenceBundles/One.bundle"));
    EXPECT_EQ(owned, static_cast<id>(one));
    objc_release(owned);  // the owned reference given by init; the bundle itself lives on
    EXPECT_EQ(objc::utf8(msg<NSString*>(one, sel<"bundlePath">())), "/Library/PreferenceBundles/One.bundle");
    EXPECT_EQ(objc::utf8(msg<NSString*>(one, sel<"bundleIdentifier">())), "com.example.testbundle");
    EXPECT_EQ(objc::utf8(msg<id>(one, sel<"objectForInfoDictionaryKey:">(), NSSTR("CFBundleExecutable"))), "One");

    EXPECT_EQ(bundle("/Library/PreferenceBundles/Missing.bundle"), nullptr);
    EXPECT_EQ(bundle("/Library/PreferenceBundles/file.bundle"), nullptr);
    EXPECT_EQ(bundle("/Library/../../outside"), nullptr);
    alloc = msg<id>(NSBundle::class_(), sel<"alloc">());
    EXPECT_EQ(msg<id>(alloc, sel<"initWithPath:">(), objc::str("/Library/PreferenceBundles/Missing.bundle")), nullptr);

    // A folder without an Info.plist is a bundle that knows nothing about itself.
    std::filesystem::create_directories(device_.host("/Library/Bare.bundle"));
    NSBundle* bare = bundle("/Library/Bare.bundle");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(msg<NSString*>(bare, sel<"bundleIdentifier">()), nullptr);
    EXPECT_EQ(msg<NSString*>(bare, sel<"executablePath">()), nullptr);
}

TEST_F(Bundles, ResourcesAreFoundInTheFolderThenBaseThenEnglish) {
    const std::string root = "/Library/PreferenceBundles/Res.bundle";
    device_.write(root + "/Info.plist", info("Res"));
    device_.write(root + "/icon.png", "png");
    device_.write(root + "/Base.lproj/icon.png", "base png");
    device_.write(root + "/Base.lproj/Root.plist", "base");
    device_.write(root + "/en.lproj/Root.plist", "english");
    device_.write(root + "/en.lproj/Only.strings", "english");
    std::filesystem::create_directories(device_.host(root + "/Folder.plist"));
    NSBundle* b = bundle(root);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(path(b, "icon", "png"), root + "/icon.png");
    EXPECT_EQ(path(b, "Root", "plist"), root + "/Base.lproj/Root.plist");
    EXPECT_EQ(path(b, "Only", "strings"), root + "/en.lproj/Only.strings");
    EXPECT_EQ(path(b, "icon.png", nullptr), root + "/icon.png");
    EXPECT_EQ(path(b, "icon.png", ""), root + "/icon.png");
    EXPECT_EQ(path(b, "icon", "jpg"), "<nil>");
    EXPECT_EQ(path(b, "Folder", "plist"), "<nil>");
    EXPECT_EQ(path(b, nullptr, "png"), "<nil>");
}

TEST_F(Bundles, LoadOpensTheLibraryAndFindsThePrincipalClass) {
    const std::string root = "/Library/PreferenceBundles/Loadable.bundle";
    device_.write(root + "/Info.plist", info("Loadable"));
    std::filesystem::copy_file(FOUNDATION_TEST_BUNDLE, device_.host(root + "/Loadable"));
    NSBundle* b = bundle(root);
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(msg<BOOL>(b, sel<"isLoaded">()));
    EXPECT_EQ(objc_getClass("FoundationTestPrincipal"), nullptr);

    Class principal = msg<Class>(b, sel<"principalClass">());
    ASSERT_NE(principal, nullptr);
    EXPECT_STREQ(class_getName(principal), "FoundationTestPrincipal");
    EXPECT_STREQ(msg<const char*>(principal, sel<"greeting">()), "loaded");
    EXPECT_TRUE(msg<BOOL>(b, sel<"isLoaded">()));
    EXPECT_TRUE(msg<BOOL>(b, sel<"load">()));
    EXPECT_TRUE(logged().empty());
}

TEST_F(Bundles, LoadFailureIsLoggedAndAnswersNo) {
    const std::string broken = "/Library/PreferenceBundles/Broken.bundle";
    device_.write(broken + "/Info.plist", info("Broken"));
    device_.write(broken + "/Broken", "not a library");
    NSBundle* b = bundle(broken);
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(msg<BOOL>(b, sel<"load">()));
    EXPECT_FALSE(msg<BOOL>(b, sel<"isLoaded">()));
    EXPECT_EQ(msg<Class>(b, sel<"principalClass">()), nullptr);
    auto lines = logged();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find(broken), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("Broken.bundle/Broken, 2): "), std::string::npos) << "the loader's own reason is kept: " << lines[0];

    const std::string empty = "/Library/PreferenceBundles/NoLibrary.bundle";
    device_.write(empty + "/Info.plist", info("Absent"));
    EXPECT_FALSE(msg<BOOL>(bundle(empty), sel<"load">()));
}

TEST_F(Bundles, MainBundleIsTheOneTheHostNames) {
    objc::AutoreleasePool pool;
    NSDictionary* infoDictionary = objc::dict({{NSSTR("CFBundleIdentifier"), NSSTR("com.example.host")}});
    platform::setMainBundle("/Applications/Host.app", infoDictionary);
    NSBundle* main = msg<NSBundle*>(NSBundle::class_(), sel<"mainBundle">());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(objc::utf8(msg<NSString*>(main, sel<"bundleIdentifier">())), "com.example.host");
    EXPECT_EQ(objc::utf8(msg<NSString*>(main, sel<"bundlePath">())), "/Applications/Host.app");
    EXPECT_TRUE(msg<BOOL>(main, sel<"isLoaded">()));
    EXPECT_EQ(bundle("/Applications/Host.app"), main) << "the main bundle need not be staged to be found by path";

    platform::setMainBundle("/Applications/Other.app", nullptr);
    NSBundle* other = msg<NSBundle*>(NSBundle::class_(), sel<"mainBundle">());
    EXPECT_NE(other, main);
    EXPECT_EQ(msg<NSString*>(other, sel<"bundleIdentifier">()), nullptr);
    EXPECT_EQ(objc::utf8(msg<NSString*>(main, sel<"bundleIdentifier">())), "com.example.host") << "a replaced main bundle stays usable";
}

}  // namespace
