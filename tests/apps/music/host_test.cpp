// obscuro-music run as a program on devices of its own: which tweaks it loads, what it reports, and serving settings changes.
#include "../host_process.h"

#include <CoreFoundation/CFNotificationCenter.h>
#include <device/device.h>

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
class MusicHostProcess : public host_test::HostProcess {
public:
    explicit MusicHostProcess(const std::vector<std::string>& arguments) : HostProcess(MUSIC_HOST, arguments) {}
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

    MusicHostProcess host({"--root", device.root().string()});
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

    MusicHostProcess host({"--root", device.root().string()});
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

    MusicHostProcess host({"--root", device.root().string(), "--absent", "Music.NowPlayingViewController"});
    ASSERT_EQ(host.finish(), 0) << host.err();
    EXPECT_NE(host.out().find("Hooks not installed (2):\n  -[Music.NowPlayingViewController viewDidLoad]\n"), std::string::npos)
        << host.out();
}

TEST(MusicHost, ServeShowsThemeStateAfterEachSettingsChangeUntilTerminated) {
    TemporaryDevice device;
    device.installTweak("Fixture", filterPlist("Bundles", "com.apple.Music"));
    writeFile(device.root() / "var/mobile/Library/Preferences/com.example.fixture.plist",
              "<plist version=\"1.0\"><dict><key>theme</key><string>dawn</string></dict></plist>");

    MusicHostProcess host({"--root", device.root().string(), "--serve"});
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
    MusicHostProcess unknown({"--bogus"});
    EXPECT_EQ(unknown.finish(), 2);
    EXPECT_NE(unknown.err().find("unknown option --bogus"), std::string::npos) << unknown.err();

    MusicHostProcess missingValue({"--root"});
    EXPECT_EQ(missingValue.finish(), 2);

    MusicHostProcess noDevice({"--root", "/nonexistent/device"});
    EXPECT_EQ(noDevice.finish(), 1);
    EXPECT_NE(noDevice.err().find("no device at /nonexistent/device"), std::string::npos) << noDevice.err();
}

TEST(MusicHost, HelpAnywhereWinsOverAnyFaultAndPrintsTheUsageOnStdout) {
    for (const std::vector<std::string>& asked : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"--serve", "--help"}, {"--bogus", "-h"}, {"--screen", "album", "--picture", "x.png", "--scale", "9", "--help"},
             {"--root", "/nonexistent/device", "-h"}, {"--root", "--help"}}) {
        MusicHostProcess help(asked);
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
        MusicHostProcess host(fault.arguments);
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
        MusicHostProcess host(arguments);
        EXPECT_EQ(host.finish(), 0) << arguments.back() << host.err();
        EXPECT_NE(host.out().find("on the device " + root + "\n"), std::string::npos) << host.out();
    }
}

}  // namespace
