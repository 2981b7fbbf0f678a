// obscuro-settings run as a program: --help and --root in any position, and each fault in its options named with the usage.
#include "../host_process.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kUsage = "usage: obscuro-settings [--root DEVICE] [--port P]\n";

struct HostRun {
    int status = -1;  // -1 once the host had to be ended
    std::string out, err;
};

// obscuro-settings with `arguments`, the default device being `defaultRoot`. A host that listens
// serves until it is stopped, so it is ended once it has printed its address.
HostRun settingsHost(const std::vector<std::string>& arguments, const std::string& defaultRoot = OBSCURO_DEVICE_ROOT) {
    host_test::HostProcess host(SETTINGS_HOST, arguments, {"OBSCURO_DEVICE_ROOT=" + defaultRoot});
    if (host.waitForOutput("http://", 30s) && host.waitForOutput("\n", 30s)) host.signal(SIGKILL);
    int status = host.finish(30s);
    return {status, host.out(), host.err()};
}

// An empty folder of the test's own: a device without any preference bundle.
class EmptyDevice {
public:
    EmptyDevice() {
        std::string pattern = (fs::temp_directory_path() / "settings-host-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
    }
    ~EmptyDevice() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    std::string root() const { return root_.string(); }

private:
    fs::path root_;
};

TEST(SettingsHostOptions, HelpAnywhereWinsOverAnyFaultAndPrintsTheUsageOnStdout) {
    for (const std::vector<std::string>& asked : std::vector<std::vector<std::string>>{
             {"--help"}, {"-h"}, {"--port", "0", "--help"}, {"--bogus", "-h"}, {"--port", "99999", "--help"}, {"--root", "-h"}, {"stray", "--help"}}) {
        HostRun help = settingsHost(asked);
        EXPECT_EQ(help.status, 0) << asked[0] << help.err;
        EXPECT_EQ(help.out, kUsage) << asked[0];
        EXPECT_EQ(help.err, "") << asked[0];
    }
}

TEST(SettingsHostOptions, OptionFaultsAreNamedWithTheUsageOnStderr) {
    struct Fault {
        std::vector<std::string> arguments;
        std::string message;
    };
    for (const Fault& fault : std::vector<Fault>{
             {{"--bogus"}, "unknown option --bogus"},
             {{"--port", "0", "stray"}, "unexpected argument stray"},
             {{"--port"}, "missing value after --port"},
             {{"--port", "0", "--root"}, "missing value after --root"},
             {{"--root", ""}, "--root needs a non-empty value"},
             {{"--port", "65536"}, "--port takes a number from 0 to 65535"},
             {{"--port", "-1"}, "--port takes a number from 0 to 65535"},
             {{"--port", "80a"}, "--port takes a number from 0 to 65535"},
             {{"--port", "0x10"}, "--port takes a number from 0 to 65535"}}) {
        HostRun run = settingsHost(fault.arguments);
        EXPECT_EQ(run.status, 2) << fault.message << run.out;
        EXPECT_EQ(run.out, "") << fault.message;
        EXPECT_EQ(run.err, "obscuro-settings: " + fault.message + "\n" + kUsage);
    }
}

TEST(SettingsHostOptions, RootIsReadAfterOtherOptions) {
    EmptyDevice empty;
    HostRun elsewhere = settingsHost({"--port", "0", "--root", empty.root()});
    EXPECT_EQ(elsewhere.status, 1) << "the default device has the product's bundle; the one named has none: " << elsewhere.out;
    EXPECT_EQ(elsewhere.err.rfind("obscuro-settings: no preference bundle could be opened", 0), 0u) << elsewhere.err;

    HostRun served = settingsHost({"--port", "0", "--root", empty.root(), "--root", OBSCURO_DEVICE_ROOT}, empty.root());
    EXPECT_EQ(served.out.rfind("http://127.0.0.1:", 0), 0u) << "the last --root counts: " << served.out << served.err;
}

TEST(SettingsHostOptions, APortIsReadInDecimalWhateverItsLeadingZeros) {
    // Port 10 may not be open to the test's user; either way the host names the port it tried.
    EmptyDevice empty;
    HostRun run = settingsHost({"--port", "010", "--root", OBSCURO_DEVICE_ROOT}, empty.root());
    if (run.status == 1)
        EXPECT_EQ(run.err, "obscuro-settings: cannot listen on 127.0.0.1:10\n");
    else
        EXPECT_EQ(run.out.rfind("http://127.0.0.1:10/", 0), 0u) << run.out << run.err;
}

}  // namespace
