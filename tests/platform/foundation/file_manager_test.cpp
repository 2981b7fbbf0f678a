// NSFileManager: existence, folders, listings, removal and new files, all inside the device.
#include <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include "temporary_device.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

class FileManager : public ::testing::Test {
protected:
    NSFileManager* manager() { return msg<NSFileManager*>(NSFileManager::class_(), sel<"defaultManager">()); }
    bool exists(const std::string& path) { return msg<BOOL>(manager(), sel<"fileExistsAtPath:">(), objc::str(path)); }
    bool exists(const std::string& path, BOOL* folder) {
        return msg<BOOL>(manager(), sel<"fileExistsAtPath:isDirectory:">(), objc::str(path), folder);
    }
    bool remove(const std::string& path, NSError** error = nullptr) {
        return msg<BOOL>(manager(), sel<"removeItemAtPath:error:">(), objc::str(path), error);
    }
    bool makeFolder(const std::string& path, bool intermediates, NSError** error = nullptr) {
        return msg<BOOL>(manager(), sel<"createDirectoryAtPath:withIntermediateDirectories:attributes:error:">(), objc::str(path),
                         intermediates, static_cast<NSDictionary*>(nullptr), error);
    }

    TemporaryDevice device_;
    objc::AutoreleasePool pool_;
};

TEST_F(FileManager, ExistenceFollowsTheDeviceAndItsLinks) {
    device_.write("/Library/MobileSubstrate/DynamicLibraries/Other.dylib", "x");
    fs::create_directories(device_.host("/var/mobile"));
    fs::create_symlink("/etc/passwd", device_.host("/var/mobile/escape"));
    fs::create_symlink("nowhere", device_.host("/var/mobile/dangling"));
    fs::create_symlink("../../Library", device_.host("/var/mobile/library"));

    BOOL folder = YES;
    EXPECT_TRUE(exists("/Library/MobileSubstrate/DynamicLibraries/Other.dylib", &folder));
    EXPECT_FALSE(folder);
    EXPECT_TRUE(exists("/Library/MobileSubstrate", &folder));
    EXPECT_TRUE(folder);
    EXPECT_TRUE(exists("/var/mobile/library/MobileSubstrate")) << "a link that stays inside the device is followed";
    folder = YES;
    EXPECT_FALSE(exists("/var/mobile/missing", &folder));
    EXPECT_FALSE(folder);
    EXPECT_FALSE(exists("/var/mobile/escape")) << "a link out of the device leads nowhere";
    EXPECT_FALSE(exists("/var/mobile/dangling"));
    EXPECT_FALSE(exists("/Library/../../etc/passwd"));
    EXPECT_FALSE(exists(""));
    EXPECT_FALSE(msg<BOOL>(manager(), sel<"fileExistsAtPath:">(), static_cast<NSString*>(nullptr)));
}

TEST_F(FileManager, FoldersAreMadeWithOrWithoutTheirParents) {
    NSError* error = nullptr;
    EXPECT_FALSE(makeFolder("/var/mobile/a/b", false, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(msg<NSInteger>(error, sel<"code">()), NSFileNoSuchFileError);

    EXPECT_TRUE(makeFolder("/var/mobile/a/b", true));
    EXPECT_TRUE(fs::is_directory(device_.host("/var/mobile/a/b")));
    EXPECT_TRUE(makeFolder("/var/mobile/a/b", true)) << "an existing folder is what was asked for";
    error = nullptr;
    EXPECT_FALSE(makeFolder("/var/mobile/a/b", false, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(msg<NSInteger>(error, sel<"code">()), NSFileWriteFileExistsError);

    device_.write("/var/mobile/file", "x");
    EXPECT_FALSE(makeFolder("/var/mobile/file", true));
    EXPECT_FALSE(makeFolder("/var/../../made-outside", true));
    EXPECT_FALSE(fs::exists(device_.folder().parent_path() / "made-outside"));
}

TEST_F(FileManager, ListingIsSortedByBytes) {
    for (const char* name : {"b.plist", "B.plist", "a.plist", "\xc3\xa9.plist", ".hidden"}) device_.write(std::string("/folder/") + name, "");
    fs::create_directories(device_.host("/folder/sub"));
    NSArray* names = msg<NSArray*>(manager(), sel<"contentsOfDirectoryAtPath:error:">(), NSSTR("/folder"), static_cast<NSError**>(nullptr));
    ASSERT_NE(names, nullptr);
    std::vector<std::string> listed;
    for (id name : names) listed.push_back(objc::utf8(name));
    EXPECT_EQ(listed, (std::vector<std::string>{".hidden", "B.plist", "a.plist", "b.plist", "sub", "\xc3\xa9.plist"}));

    NSError* error = nullptr;
    EXPECT_EQ(msg<NSArray*>(manager(), sel<"contentsOfDirectoryAtPath:error:">(), NSSTR("/nothing"), &error), nullptr);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(msg<NSInteger>(error, sel<"code">()), NSFileNoSuchFileError);
    EXPECT_EQ(msg<NSArray*>(manager(), sel<"contentsOfDirectoryAtPath:error:">(), NSSTR("/folder/a.plist"), static_cast<NSError**>(nullptr)), nullptr);
}

TEST_F(FileManager, RemovalTakesFoldersWholeAndLinksNotTheirTargets) {
    device_.write("/var/mobile/Themes/Dark/theme.plist", "x");
    device_.write("/var/mobile/keep/target", "kept");
    fs::create_symlink("../keep", device_.host("/var/mobile/Themes/link"));
    fs::create_symlink("../keep/target", device_.host("/var/mobile/file-link"));

    EXPECT_TRUE(remove("/var/mobile/file-link"));
    EXPECT_TRUE(fs::exists(device_.host("/var/mobile/keep/target")));
    EXPECT_TRUE(remove("/var/mobile/Themes"));
    EXPECT_FALSE(fs::exists(device_.host("/var/mobile/Themes")));
    EXPECT_TRUE(fs::exists(device_.host("/var/mobile/keep/target"))) << "a link inside a removed folder keeps its target";

    NSError* error = nullptr;
    EXPECT_FALSE(remove("/var/mobile/Themes", &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(msg<NSInteger>(error, sel<"code">()), NSFileNoSuchFileError);
    EXPECT_FALSE(remove("/"));
    EXPECT_FALSE(remove("/var/mobile/.."));
    EXPECT_TRUE(fs::exists(device_.host("/var/mobile/keep/target")));
}

TEST_F(FileManager, CreatedFilesHoldTheirContents) {
    fs::create_directories(device_.host("/var/mobile"));
    NSData* data = objc::data(std::string_view("contents"));
    EXPECT_TRUE(msg<BOOL>(manager(), sel<"createFileAtPath:contents:attributes:">(), NSSTR("/var/mobile/new"), data, static_cast<NSDictionary*>(nullptr)));
    std::ifstream in(device_.host("/var/mobile/new"));
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), "contents");
    EXPECT_TRUE(msg<BOOL>(manager(), sel<"createFileAtPath:contents:attributes:">(), NSSTR("/var/mobile/empty"), static_cast<NSData*>(nullptr),
                          static_cast<NSDictionary*>(nullptr)));
    EXPECT_EQ(fs::file_size(device_.host("/var/mobile/empty")), 0u);
    EXPECT_FALSE(msg<BOOL>(manager(), sel<"createFileAtPath:contents:attributes:">(), NSSTR("/missing/new"), data, static_cast<NSDictionary*>(nullptr)));
}

}  // namespace
