// obscuro-music run as a program on devices of its own: which tweaks it loads, what it reports, and serving settings changes.
#include <CoreFoundation/CFNotificationCenter.h>
#include <device/device.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kTweakFolder = "Library/MobileSubstrate/DynamicLibraries";

std::string filterPlist(const std::string& key, const std::string& name) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<plist version=\"1.0\"><dict><key>Filter</key><dict><key>" +
           key + "</key><array><string>" + name + "</string></array></dict></dict></plist>\n";
}

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

// A device of the test's own, removed afterwards.
class TemporaryDevice {
public:
    TemporaryDevice() {
        std::string pattern = (fs::temp_directory_path() / "music-host-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        fs::create_directories(root_ / kTweakFolder);
        fs::create_directories(root_ / "var/mobile/Library/Preferences");
    }
    ~TemporaryDevice() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const fs::path& root() const { return root_; }

    // The fixture tweak as "<name>.dylib" with a filter plist beside it.
    void installTweak(const std::string& name, const std::string& plist) {
        fs::copy_file(MUSIC_FIXTURE_TWEAK, root_ / kTweakFolder / (name + ".dylib"), fs::copy_options::overwrite_existing);
        writeFile(root_ / kTweakFolder / (name + ".plist"), plist);
    }

private:
    fs::path root_;
};

// The host as a child process, its output gathered as it comes.
class HostProcess {
public:
    explicit HostProcess(const std::vector<std::string>& arguments) {
        int out[2], err[2];
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        std::vector<std::string> words{MUSIC_HOST};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        EXPECT_EQ(::posix_spawn(&pid_, MUSIC_HOST, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~HostProcess() {
        if (pid_ > 0 && status_ < 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }

    // Reads until stdout holds `text` (true) or the time is up or the host is gone (false).
    bool waitForOutput(const std::string& text, std::chrono::milliseconds limit = 10s) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (stdout_.find(text) == std::string::npos) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !readSome(static_cast<int>(left.count()))) return false;
        }
        return true;
    }

    // Waits for the host to end (killing it after `limit`); its exit status, or -1 when killed.
    int finish(std::chrono::milliseconds limit = 10s) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (readSome(static_cast<int>(std::max<long>(1, (deadline - std::chrono::steady_clock::now()) / 1ms))) &&
               std::chrono::steady_clock::now() < deadline) {
        }
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
        }
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return status_;
    }

    void signal(int number) { ::kill(pid_, number); }
    const std::string& out() const { return stdout_; }
    const std::string& err() const { return stderr_; }

private:
    // Reads what is there within `timeoutMs`; false once both streams have ended or nothing came.
    bool readSome(int timeoutMs) {
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        int open = 0;
        for (auto& fd : fds) open += fd.fd >= 0;
        if (open == 0 || ::poll(fds, 2, timeoutMs) <= 0) return false;
        bool got = false;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? stdout_ : stderr_).append(buffer, static_cast<std::size_t>(n));
                got = true;
            } else {
                ::close(i == 0 ? out_ : err_);
                (i == 0 ? out_ : err_) = -1;
                got = true;
            }
        }
        return got;
    }

    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
    int status_ = -1;
    std::string stdout_, stderr_;
};

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(MusicHost, LoadsTweakFilteredForTheAppAndReportsItsHooksAndReads) {
    TemporaryDevice device;
    device.installTweak("Fixture", filterPlist("Bundles", "com.apple.Music"));
    device.installTweak("ByExecutable", filterPlist("Executables", "Music"));
    device.installTweak("Other", filterPlist("Bundles", "com.apple.Preferences"));

    HostProcess host({"--root", device.root().string()});
    ASSERT_EQ(host.finish(), 0) << host.err();
    const std::string& out = host.out();

    // The constructors ran in a process that calls itself the Music app; the other app's tweak stayed out.
    EXPECT_EQ(count(out, "fixture tweak: constructor ran in com.apple.Music\n"), 2u) << out;
    EXPECT_NE(out.find("Tweak libraries loaded (2):\n"
                       "  /Library/MobileSubstrate/DynamicLibraries/ByExecutable.dylib\n"
                       "  /Library/MobileSubstrate/DynamicLibraries/Fixture.dylib\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  not loaded: Other ("), std::string::npos) << out;

    EXPECT_EQ(count(out, "  -[Music.NowPlayingViewController viewDidLoad]\n"), 2u) << out;
    EXPECT_EQ(count(out, "  +[UIImage imageNamed:inBundle:compatibleWithTraitCollection:]\n"), 2u) << out;
    EXPECT_NE(out.find("Hooks not installed (2):\n  -[Music.NoSuchView layoutSubviews]\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Classes looked up in vain (1):\n  Music.NoSuchView\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  /var/mobile/Library/Preferences/com.example.fixture.plist (missing)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("ThemeState:\n  theme             nil\n"), std::string::npos) << out;
}

TEST(MusicHost, BrokenFilterIsReportedAndTheOtherTweaksStillLoad) {
    TemporaryDevice device;
    device.installTweak("Broken", "<plist><dict><key>Filter</key><dict><key>Bundles");
    device.installTweak("Fixture", filterPlist("Bundles", "com.apple.Music"));
    device.installTweak("Wrong", "<plist version=\"1.0\"><dict><key>Filter</key><string>com.apple.Music</string></dict></plist>");

    HostProcess host({"--root", device.root().string()});
    ASSERT_EQ(host.finish(), 0) << host.err();
    EXPECT_EQ(count(host.out(), "fixture tweak: constructor ran"), 1u) << host.out();
    EXPECT_NE(host.out().find("Tweak libraries loaded (1):\n  /Library/MobileSubstrate/DynamicLibraries/Fixture.dylib\n"),
              std::string::npos)
        << host.out();
    EXPECT_NE(host.out().find("  not loaded: Broken ("), std::string::npos) << host.out();
    EXPECT_NE(host.out().find("  not loaded: Wrong ("), std::string::npos) << host.out();
    EXPECT_NE(host.err().find("Broken"), std::string::npos) << host.err();
}

TEST(MusicHost, AbsentClassLeavesItsHooksUninstalled) {
    TemporaryDevice device;
    device.installTweak("Fixture", filterPlist("Bundles", "com.apple.Music"));

    HostProcess host({"--root", device.root().string(), "--absent", "Music.NowPlayingViewController"});
    ASSERT_EQ(host.finish(), 0) << host.err();
    EXPECT_NE(host.out().find("Hooks not installed (2):\n  -[Music.NowPlayingViewController viewDidLoad]\n"), std::string::npos)
        << host.out();
}

TEST(MusicHost, ServeShowsThemeStateAfterEachSettingsChangeUntilTerminated) {
    TemporaryDevice device;
    device.installTweak("Fixture", filterPlist("Bundles", "com.apple.Music"));
    writeFile(device.root() / "var/mobile/Library/Preferences/com.example.fixture.plist",
              "<plist version=\"1.0\"><dict><key>theme</key><string>dawn</string></dict></plist>");

    HostProcess host({"--root", device.root().string(), "--serve"});
    ASSERT_TRUE(host.waitForOutput("Serving:")) << host.out() << host.err();
    EXPECT_NE(host.out().find("  theme             \"dawn\"\n"), std::string::npos) << host.out();

    writeFile(device.root() / "var/mobile/Library/Preferences/com.example.fixture.plist",
              "<plist version=\"1.0\"><dict><key>theme</key><string>midnight</string></dict></plist>");
    device::setRoot(device.root());
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         CFSTR("com.tarnwick.obscurosettings/settingschanged"), nullptr, nullptr, true);
    device::setRoot({});
    ASSERT_TRUE(host.waitForOutput("  theme             \"midnight\"\n")) << host.out() << host.err();
    EXPECT_NE(host.out().find("Settings changed (1):\n  Device files used (1):\n"
                              "    /var/mobile/Library/Preferences/com.example.fixture.plist\n"),
              std::string::npos)
        << host.out();

    host.signal(SIGTERM);
    EXPECT_EQ(host.finish(), 0) << host.err();
    EXPECT_NE(host.out().find("Stopped.\n"), std::string::npos) << host.out();
}

TEST(MusicHost, RefusesUnknownOptionsAndMissingDevices) {
    HostProcess unknown({"--bogus"});
    EXPECT_EQ(unknown.finish(), 2);
    EXPECT_NE(unknown.err().find("unknown option --bogus"), std::string::npos) << unknown.err();

    HostProcess missingValue({"--root"});
    EXPECT_EQ(missingValue.finish(), 2);

    HostProcess noDevice({"--root", "/nonexistent/device"});
    EXPECT_EQ(noDevice.finish(), 1);
    EXPECT_NE(noDevice.err().find("no device at /nonexistent/device"), std::string::npos) << noDevice.err();
}

TEST(MusicHost, HelpAnywhereWinsOverAnyFaultAndPrintsTheUsageOnStdout) {
    for (const std::vector<std::string>& asked : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"--serve", "--help"}, {"--bogus", "-h"}, {"--screen", "album", "--picture", "x.png", "--scale", "9", "--help"},
             {"--root", "/nonexistent/device", "-h"}, {"--root", "--help"}}) {
        HostProcess help(asked);
        EXPECT_EQ(help.finish(), 0) << asked[0] << help.err();
        EXPECT_EQ(help.out().rfind("usage: obscuro-music [--root DIR]", 0), 0u) << asked[0] << help.out();
        EXPECT_NE(help.out().find("--serve         keep the main run loop going"), std::string::npos) << help.out();
        EXPECT_EQ(help.err(), "") << asked[0];
    }
}

TEST(MusicHost, OptionFaultsAreNamedWithTheUsageOnStderr) {
    struct Fault {
        std::vector<std::string> arguments;
        std::string message;
    };
    for (const Fault& fault : std::vector<Fault>{
             {{"--bogus"}, "obscuro-music: unknown option --bogus\n"},
             {{"--serve", "stray"}, "obscuro-music: unexpected argument stray\n"},
             {{"--root"}, "obscuro-music: missing value after --root\n"},
             {{"--root", ""}, "obscuro-music: --root needs a non-empty value\n"},
             {{"--absent", ""}, "obscuro-music: --absent needs a non-empty value\n"},
             {{"--absent", "Music.NowPlayingViewController", "Music.LibraryViewController"}, "obscuro-music: unexpected argument Music.LibraryViewController\n"},
             {{"--screen", "album", "--picture", "x.png", "--scale", "0"}, "obscuro-music: --scale takes a number in (0, 4]\n"},
             {{"--screen", "album", "--picture", "x.png", "--scale", "2x"}, "obscuro-music: --scale takes a number in (0, 4]\n"},
             {{"--screen", "nowhere", "--picture", "x.png"}, "obscuro-music: unknown screen 'nowhere' (screens: "},
             {{"--picture", "x.png"}, "obscuro-music: --screen and --picture go together\n"},
             {{"--explain"}, "obscuro-music: --explain describes the --picture\n"}}) {
        HostProcess host(fault.arguments);
        EXPECT_EQ(host.finish(), 2) << fault.message << host.out();
        EXPECT_EQ(host.out(), "") << fault.message;
        EXPECT_EQ(host.err().rfind(fault.message, 0), 0u) << host.err();
        EXPECT_NE(host.err().find("\nusage: obscuro-music [--root DIR]"), std::string::npos) << host.err();
    }
}

TEST(MusicHost, RootIsReadInAnyPositionAndTheLastOneCounts) {
    TemporaryDevice device;
    const std::string root = device.root().string();
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--absent", "Music.NowPlayingViewController", "--root", root},
             {"--absent", "Music.NowPlayingViewController", "--root=" + root},
             {"--root", "/nonexistent/device", "--absent", "Music.NowPlayingViewController", "--root", root}}) {
        HostProcess host(arguments);
        EXPECT_EQ(host.finish(), 0) << arguments.back() << host.err();
        EXPECT_NE(host.out().find("on the device " + root + "\n"), std::string::npos) << host.out();
    }
}

}  // namespace
