// obscuro-settings run as a program: --help and --root in any position, and each fault in its options named with the usage.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

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
    int out[2], err[2];
    EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
    EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
    std::vector<std::string> environment{"OBSCURO_DEVICE_ROOT=" + defaultRoot};
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, "OBSCURO_DEVICE_ROOT=", 20) != 0) environment.emplace_back(*entry);
    std::vector<std::string> words{SETTINGS_HOST};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv, envp;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    for (auto& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    pid_t pid = -1;
    EXPECT_EQ(::posix_spawn(&pid, SETTINGS_HOST, &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);

    HostRun run;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    auto deadline = std::chrono::steady_clock::now() + 30s;
    auto listening = [&run] { return run.out.rfind("http://", 0) == 0 && run.out.find('\n') != std::string::npos; };
    while ((fds[0].fd >= 0 || fds[1].fd >= 0) && !listening()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0 || ::poll(fds, 2, static_cast<int>(left)) <= 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? run.out : run.err).append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
            }
        }
    }
    // Both streams ended: the host is leaving on its own. Otherwise it serves, or hangs, and is ended.
    if (fds[0].fd >= 0 || fds[1].fd >= 0) ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    for (const pollfd& fd : fds)
        if (fd.fd >= 0) ::close(fd.fd);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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
