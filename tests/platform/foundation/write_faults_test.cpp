// Settings writes under failing system calls: every step of the atomic write made to fail, and writers killed midway.
#include <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include "temporary_device.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>

extern char** environ;

// --- The system calls of a write, as this program sees them ------------------------------------
//
// An executable's definitions come before the C library's for every library it loads, so these
// stand in for the calls libplatform makes. Each forwards to the next definition (the C
// library's, or a sanitizer's) unless a fault is armed for that step and that descriptor.

namespace {

enum class Fault {
    none,
    createTemporary,  // mkostemp fails
    setMode,          // fchmod of the temporary fails
    write,            // the first write fails
    diskFullMidway,   // half the bytes are written, then the disk is full
    interrupted,      // the first write is interrupted by a signal (survivable)
    shortWrites,      // every write takes at most 7 bytes (survivable)
    flush,            // fsync of the temporary fails
    close,            // closing the temporary reports a deferred write error
    rename,           // the rename over the target fails
    openFolder,       // the folder cannot be opened to flush the rename
    flushFolder,      // fsync of the folder fails
    folderFlushUnsupported,  // the file system cannot flush folders (survivable)
};

std::atomic<Fault> gFault{Fault::none};
std::atomic<int> gFaultError{EIO};
std::atomic<int> gInjected{0};
std::atomic<int> gTemporaryFd{-1};  // the temporary file of the write under way
std::atomic<int> gFolderFd{-1};     // the folder it opens to flush the rename
std::atomic<bool> gWroteHalf{false};

template <class Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

bool armed(Fault fault) {
    if (gFault.load() != fault) return false;
    ++gInjected;
    return true;
}

int failWith(int error) {
    errno = error;
    return -1;
}

int tracked(int fd) {
    gTemporaryFd = fd;
    return fd;
}

}  // namespace

extern "C" int mkostemp(char* pattern, int flags) {
    static auto real = next<int (*)(char*, int)>("mkostemp");
    if (armed(Fault::createTemporary)) return failWith(gFaultError);
    return tracked(real(pattern, flags));
}

extern "C" int mkstemp(char* pattern) {
    static auto real = next<int (*)(char*)>("mkstemp");
    if (armed(Fault::createTemporary)) return failWith(gFaultError);
    return tracked(real(pattern));
}

extern "C" int fchmod(int fd, mode_t mode) {
    static auto real = next<int (*)(int, mode_t)>("fchmod");
    if (fd == gTemporaryFd && armed(Fault::setMode)) return failWith(gFaultError);
    return real(fd, mode);
}

extern "C" ssize_t write(int fd, const void* bytes, size_t count) {
    static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (fd == gTemporaryFd && count > 0) {
        if (armed(Fault::write)) return failWith(gFaultError);
        if (armed(Fault::interrupted) && !gWroteHalf.exchange(true)) return failWith(EINTR);
        if (armed(Fault::shortWrites)) return real(fd, bytes, std::min<size_t>(count, 7));
        if (armed(Fault::diskFullMidway)) {
            if (gWroteHalf.exchange(true)) return failWith(ENOSPC);
            return real(fd, bytes, std::max<size_t>(count / 2, 1));
        }
    }
    return real(fd, bytes, count);
}

extern "C" int fsync(int fd) {
    static auto real = next<int (*)(int)>("fsync");
    if (fd == gTemporaryFd && armed(Fault::flush)) return failWith(gFaultError);
    if (fd == gFolderFd && armed(Fault::flushFolder)) return failWith(gFaultError);
    if (fd == gFolderFd && armed(Fault::folderFlushUnsupported)) return failWith(EINVAL);
    return real(fd);
}

extern "C" int close(int fd) {
    static auto real = next<int (*)(int)>("close");
    bool temporary = fd == gTemporaryFd;
    if (temporary) gTemporaryFd = -1;
    if (fd == gFolderFd) gFolderFd = -1;
    int result = real(fd);
    if (temporary && result == 0 && armed(Fault::close)) return failWith(gFaultError);
    return result;
}

extern "C" int rename(const char* from, const char* to) {
    static auto real = next<int (*)(const char*, const char*)>("rename");
    if (armed(Fault::rename)) return failWith(gFaultError);
    return real(from, to);
}

extern "C" int open(const char* path, int flags, ...) {
    static auto real = next<int (*)(const char*, int, ...)>("open");
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    bool folder = (flags & O_DIRECTORY) != 0;
    if (folder && gFault.load() != Fault::none && armed(Fault::openFolder)) return failWith(gFaultError);
    int fd = real(path, flags, mode);
    if (folder && gFault.load() != Fault::none) gFolderFd = fd;
    return fd;
}

// --- A writer that runs until it is killed ------------------------------------------------------
//
// Started as a copy of this program with OBSCURO_WRITE_FAULTS_WRITER set to a device root; it
// writes the settings file over and over, each generation a whole property list whose payload
// length the generation decides, and never returns.

namespace {

constexpr const char* kSettingsPath = "/var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist";
constexpr const char* kWriterVariable = "OBSCURO_WRITE_FAULTS_WRITER";

std::size_t payloadLength(long long generation) { return generation % 2 ? 200000 : 40; }

NSDictionary* settingsOfGeneration(long long generation) {
    id number = msg<id>(objc_getClass("NSNumber"), sel<"numberWithLongLong:">(), generation);
    return objc::dict({{NSSTR("generation"), number},
                       {NSSTR("payload"), objc::str(std::string(payloadLength(generation), 'x'))},
                       {NSSTR("enabled"), msg<id>(objc_getClass("NSNumber"), sel<"numberWithBool:">(), true)}});
}

__attribute__((constructor)) void runAsKilledWriter() {
    const char* root = std::getenv(kWriterVariable);
    if (!root) return;
    device::setRoot(root);
    char ready = 'r';
    if (::write(STDOUT_FILENO, &ready, 1) != 1) ::_exit(2);
    // Bounded, so that a writer whose test died does not run on.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (long long generation = 1; std::chrono::steady_clock::now() < deadline; ++generation) {
        objc::AutoreleasePool pool;
        msg<BOOL>(settingsOfGeneration(generation), sel<"writeToFile:atomically:">(), objc::str(kSettingsPath), true);
    }
    ::_exit(0);
}

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The files of a folder other than `keep`: temporaries a failed write should have removed.
std::vector<std::string> strayFiles(const std::filesystem::path& folder, const std::string& keep) {
    std::vector<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != keep) stray.push_back(entry.path().filename().string());
    return stray;
}

// --- Each step failing, through each public writer ----------------------------------------------

enum class Writer { dictionary, data, fileManager };

struct FaultCase {
    Fault fault;
    int error;
    const char* name;
    enum Outcome { keepsOld, newButReported, succeeds } outcome;
};

const FaultCase kFaultCases[] = {
    {Fault::createTemporary, ENOSPC, "CreatingTheTemporaryOnAFullDisk", FaultCase::keepsOld},
    {Fault::createTemporary, EACCES, "CreatingTheTemporaryWithoutPermission", FaultCase::keepsOld},
    {Fault::setMode, EPERM, "SettingTheMode", FaultCase::keepsOld},
    {Fault::write, EIO, "Writing", FaultCase::keepsOld},
    {Fault::write, ENOSPC, "WritingOnAFullDisk", FaultCase::keepsOld},
    {Fault::diskFullMidway, ENOSPC, "DiskFullHalfwayThrough", FaultCase::keepsOld},
    {Fault::interrupted, EINTR, "InterruptedWrite", FaultCase::succeeds},
    {Fault::shortWrites, 0, "ShortWrites", FaultCase::succeeds},
    {Fault::flush, EIO, "Flushing", FaultCase::keepsOld},
    {Fault::flush, ENOSPC, "FlushingOnAFullDisk", FaultCase::keepsOld},
    {Fault::close, EIO, "ClosingWithADeferredError", FaultCase::keepsOld},
    {Fault::rename, EACCES, "RenamingWithoutPermission", FaultCase::keepsOld},
    {Fault::rename, EXDEV, "RenamingAcrossDevices", FaultCase::keepsOld},
    {Fault::rename, ENOSPC, "RenamingOnAFullDisk", FaultCase::keepsOld},
    {Fault::openFolder, EACCES, "OpeningTheFolderToFlushIt", FaultCase::newButReported},
    {Fault::flushFolder, EIO, "FlushingTheFolder", FaultCase::newButReported},
    {Fault::folderFlushUnsupported, EINVAL, "FolderFlushUnsupported", FaultCase::succeeds},
};

class WriteFaults : public ::testing::TestWithParam<FaultCase> {
protected:
    void SetUp() override {
        folder_ = device_.host("/var/mobile/Library/Preferences");
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { disarm(); }

    // Writes `dictionary` as the settings file through `writer`, with `fault` armed.
    static bool write(NSDictionary* dictionary, Writer writer, const FaultCase& fault = kNoFault) {
        gFaultError = fault.error;
        gWroteHalf = false;
        gInjected = 0;
        gFault = fault.fault;
        bool written = false;
        switch (writer) {
        case Writer::dictionary:
            written = msg<BOOL>(dictionary, sel<"writeToFile:atomically:">(), objc::str(kSettingsPath), true);
            break;
        case Writer::data:
            written = msg<BOOL>(serialised(dictionary), sel<"writeToFile:atomically:">(), objc::str(kSettingsPath), true);
            break;
        case Writer::fileManager:
            written = msg<BOOL>(msg<id>(objc_getClass("NSFileManager"), sel<"defaultManager">()),
                                sel<"createFileAtPath:contents:attributes:">(), objc::str(kSettingsPath), serialised(dictionary),
                                static_cast<id>(nil));
            break;
        }
        disarm();
        return written;
    }

    static void disarm() {
        gFault = Fault::none;
        gTemporaryFd = -1;
        gFolderFd = -1;
    }

    static id serialised(NSDictionary* dictionary) {
        return msg<id>(objc_getClass("NSPropertyListSerialization"), sel<"dataWithPropertyList:format:options:error:">(),
                       static_cast<id>(dictionary), NSPropertyListXMLFormat_v1_0, 0UL, static_cast<id*>(nullptr));
    }

    static long long generationOnDisk() {
        NSDictionary* read = msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(kSettingsPath));
        if (!read) return -1;
        return msg<long long>(read->objectForKey(NSSTR("generation")), sel<"longLongValue">());
    }

    static constexpr FaultCase kNoFault{Fault::none, 0, "", FaultCase::succeeds};

    TemporaryDevice device_;
    objc::AutoreleasePool pool_;
    std::filesystem::path folder_;
};

TEST_P(WriteFaults, FailureIsReportedAndTheFileStaysWhole) {
    const FaultCase& fault = GetParam();
    std::filesystem::path file = device_.host(kSettingsPath);
    for (Writer writer : {Writer::dictionary, Writer::data, Writer::fileManager}) {
        SCOPED_TRACE("writer " + std::to_string(static_cast<int>(writer)));

        // Over an existing file.
        ASSERT_TRUE(write(settingsOfGeneration(2), writer));
        std::string before = contents(file);
        bool written = write(settingsOfGeneration(3), writer, fault);
        EXPECT_GT(gInjected.load(), 0) << "the write never reached the step this fault stands for";
        EXPECT_EQ(written, fault.outcome == FaultCase::succeeds);
        EXPECT_EQ(generationOnDisk(), fault.outcome == FaultCase::keepsOld ? 2 : 3);
        if (fault.outcome == FaultCase::keepsOld) {
            EXPECT_EQ(contents(file), before);
        }
        EXPECT_EQ(strayFiles(folder_, file.filename()), std::vector<std::string>{});
        ASSERT_TRUE(write(settingsOfGeneration(4), writer));
        EXPECT_EQ(generationOnDisk(), 4);

        // Where there was none: no file rather than an empty one.
        std::filesystem::remove(file);
        written = write(settingsOfGeneration(1), writer, fault);
        EXPECT_EQ(std::filesystem::exists(file), fault.outcome != FaultCase::keepsOld);
        if (written) {
            EXPECT_EQ(generationOnDisk(), 1);
        }
        EXPECT_EQ(strayFiles(folder_, file.filename()), std::vector<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(EveryStep, WriteFaults, ::testing::ValuesIn(kFaultCases),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

// --- Writers killed at random points --------------------------------------------------------------

TEST(KilledWriter, NeverLeavesATruncatedOrEmptySettingsFile) {
    TemporaryDevice device;
    objc::AutoreleasePool pool;
    std::filesystem::create_directories(device.host("/var/mobile/Library/Preferences"));
    std::mt19937 random(20240611);  // fixed: a failure names the kill that caused it
    std::uniform_int_distribution<int> delayMicroseconds(0, 15000);

    std::string self = std::filesystem::read_symlink("/proc/self/exe");
    std::string variable = std::string(kWriterVariable) + "=" + device.folder().string();
    std::vector<char*> environment{variable.data()};
    for (char** e = environ; *e; ++e) environment.push_back(*e);
    environment.push_back(nullptr);

    int whole = 0;
    for (int kill = 0; kill < 40; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        // Every fifth writer starts with no settings file at all.
        if (kill % 5 == 0) std::filesystem::remove(device.host(kSettingsPath));
        else ASSERT_TRUE(msg<BOOL>(settingsOfGeneration(0), sel<"writeToFile:atomically:">(), objc::str(kSettingsPath), true));

        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ready[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, ready[0]);
        char* argv[] = {self.data(), nullptr};
        pid_t writer = 0;
        int spawned = ::posix_spawn(&writer, self.c_str(), &actions, nullptr, argv, environment.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(ready[1]);
        ASSERT_EQ(spawned, 0);
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the writer did not start";
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);

        std::filesystem::path file = device.host(kSettingsPath);
        if (kill % 5 == 0 && !std::filesystem::exists(file)) continue;  // killed before its first rename
        NSDictionary* read = msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(kSettingsPath));
        std::error_code ec;
        ASSERT_NE(read, nullptr) << "the settings file does not read: " << std::filesystem::file_size(file, ec) << " bytes";
        long long generation = msg<long long>(read->objectForKey(NSSTR("generation")), sel<"longLongValue">());
        EXPECT_EQ(objc::utf8(read->objectForKey(NSSTR("payload"))).size(), payloadLength(generation));
        ++whole;
    }
    EXPECT_GE(whole, 32);
    // Each temporary left behind is a writer killed between creating its file and renaming it:
    // the kills did land inside writes, not only between them.
    auto left = strayFiles(device.host("/var/mobile/Library/Preferences"), "com.tarnwick.obscurosettings.plist");
    std::fprintf(stderr, "killed mid-write: %zu of 40\n", left.size());
    EXPECT_GE(left.size(), 5u);
}

}  // namespace
