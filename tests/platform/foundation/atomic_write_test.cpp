// Atomic writes: a writer killed after writing but before its rename leaves the old file whole.
#include <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include "temporary_device.h"

#include <dlfcn.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// Set in a forked writer: its next rename reports on this pipe and waits there to be killed.
int gStopBeforeRenamePipe = -1;

}  // namespace

// This program's rename comes before the C library's for libplatform too, so a writer can be
// stopped at the one moment that matters: the new contents are on disk, the target untouched.
extern "C" int rename(const char* from, const char* to) {
    if (gStopBeforeRenamePipe >= 0) {
        char ready = 1;
        if (::write(gStopBeforeRenamePipe, &ready, 1) == 1)
            while (true) ::pause();
    }
    using Rename = int (*)(const char*, const char*);
    static auto next = reinterpret_cast<Rename>(::dlsym(RTLD_NEXT, "rename"));
    return next(from, to);
}

namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class AtomicWrite : public ::testing::Test {
protected:
    TemporaryDevice device_;
    objc::AutoreleasePool pool_;
};

TEST_F(AtomicWrite, WriterKilledBeforeRenameLeavesTheOldFileWhole) {
    const std::string path = "/var/mobile/Library/Preferences/com.example.settings.plist";
    std::filesystem::create_directories(device_.host("/var/mobile/Library/Preferences"));
    NSDictionary* old = objc::dict({{NSSTR("theme"), NSSTR("old")}});
    ASSERT_TRUE(msg<BOOL>(old, sel<"writeToFile:atomically:">(), objc::str(path), true));
    std::string before = contents(device_.host(path));

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        ::close(ready[0]);
        gStopBeforeRenamePipe = ready[1];
        objc::AutoreleasePool pool;
        std::string big(1 << 20, 'x');  // large enough that a partial file would show
        NSDictionary* updated = objc::dict({{NSSTR("theme"), NSSTR("new")}, {NSSTR("padding"), objc::str(big)}});
        msg<BOOL>(updated, sel<"writeToFile:atomically:">(), objc::str(path), true);
        ::_exit(3);  // reached only if the write never renamed
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the writer never reached its rename";
    ::close(ready[0]);
    ::kill(writer, SIGKILL);
    int status = 0;
    ::waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(contents(device_.host(path)), before);
    NSDictionary* read = msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(path));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(objc::utf8(read->objectForKey(NSSTR("theme"))), "old");

    // The next writer replaces the file as usual; what the dead one left behind is no obstacle.
    NSDictionary* next = objc::dict({{NSSTR("theme"), NSSTR("next")}});
    ASSERT_TRUE(msg<BOOL>(next, sel<"writeToFile:atomically:">(), objc::str(path), true));
    read = msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(path));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(objc::utf8(read->objectForKey(NSSTR("theme"))), "next");
}

TEST_F(AtomicWrite, ReplacementKeepsPermissionsAndLeavesNoTemporaryFile) {
    const std::string path = "/var/mobile/data.bin";
    device_.write(path, "old");
    ::chmod(device_.host(path).c_str(), 0600);
    ASSERT_TRUE(msg<BOOL>(objc::data(std::string_view("new contents")), sel<"writeToFile:atomically:">(), objc::str(path), true));
    EXPECT_EQ(contents(device_.host(path)), "new contents");
    struct stat st;
    ASSERT_EQ(::stat(device_.host(path).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    std::size_t files = 0;
    for (auto& entry : std::filesystem::directory_iterator(device_.host("/var/mobile"))) files += entry.is_regular_file();
    EXPECT_EQ(files, 1u);
}

TEST_F(AtomicWrite, WritesThatCannotHappenFailWithoutDamage) {
    NSData* data = objc::data(std::string_view("x"));
    // No such folder, a folder in the way, outside the device, the root itself.
    std::filesystem::create_directories(device_.host("/var/mobile/folder"));
    for (const char* path : {"/var/mobile/missing/file", "/var/mobile/folder", "/var/../../escape", "/", "relative"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(msg<BOOL>(data, sel<"writeToFile:atomically:">(), objc::str(path), true));
        EXPECT_FALSE(msg<BOOL>(data, sel<"writeToFile:atomically:">(), objc::str(path), false));
    }
    EXPECT_TRUE(std::filesystem::is_directory(device_.host("/var/mobile/folder")));
    EXPECT_FALSE(std::filesystem::exists(device_.folder().parent_path() / "escape"));
}

}  // namespace
