// A setting changed → the running Music app's ThemeState updated: a colour written through the settings page's controller or by
// `obscuro settings set`, timed until obscuro-music shows it.
#include "median_report.h"
#include "private_device.h"

#include <settings/SettingsSession.h>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

// The Music app on a copy of the default device, with the product on and custom colours in use.
class RunningMusicApp {
public:
    RunningMusicApp() {
        std::string error;
        session_ = settings::SettingsSession::open("obscurosettings", &error);
        if (!session_) throw std::runtime_error("the settings bundle does not open: " + error);
        write("enabled", true);
        write("useCustomColors", true);

        int pipeFds[2];
        if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        std::string rootText = device_.root().string();
        std::string program = OBSCURO_MUSIC;
        char* argv[] = {program.data(), const_cast<char*>("--root"), rootText.data(), const_cast<char*>("--serve"), nullptr};
        if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) throw std::runtime_error("cannot start obscuro-music");
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeFds[1]);
        out_ = pipeFds[0];
        if (!waitFor("Serving", std::chrono::seconds(30))) throw std::runtime_error("obscuro-music did not start serving");
    }
    ~RunningMusicApp() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        ::close(out_);
    }

    void write(const std::string& key, const nlohmann::json& value) {
        const settings::Page* page = session_->pageDeclaring(key);
        session_->write(*page, key, value);
    }

    // `obscuro settings set KEY VALUE` on this device, as a user types it; true when it succeeded.
    bool set(const std::string& key, const std::string& value) {
        std::string program = OBSCURO_COMMAND;
        std::string rootVariable = "OBSCURO_DEVICE_ROOT=" + device_.root().string();
        char* argv[] = {program.data(), const_cast<char*>("settings"), const_cast<char*>("set"), const_cast<char*>(key.c_str()),
                        const_cast<char*>(value.c_str()), nullptr};
        char* envp[] = {rootVariable.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        return spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // Reads the app's output until a line holds `text` (and `also`, when given).
    bool waitFor(const std::string& text, std::chrono::milliseconds timeout, const std::string& also = "") {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            for (auto newline = buffer_.find('\n'); newline != std::string::npos; newline = buffer_.find('\n')) {
                std::string line = buffer_.substr(0, newline);
                bool found = line.find(text) != std::string::npos && line.find(also) != std::string::npos;
                buffer_.erase(0, newline + 1);
                if (found) return true;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
            pollfd readable{out_, POLLIN, 0};
            if (left <= 0 || ::poll(&readable, 1, static_cast<int>(left)) <= 0) return false;
            char chunk[4096];
            ssize_t got = ::read(out_, chunk, sizeof chunk);
            if (got <= 0) return false;
            buffer_.append(chunk, static_cast<std::size_t>(got));
        }
    }

private:
    bench::PrivateDevice device_;
    std::unique_ptr<settings::SettingsSession> session_;
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
};

void SettingChangedToThemeStateUpdated(benchmark::State& state) {
    RunningMusicApp app;
    int step = 0;
    char colour[8];
    bench::timeEachChange(
        state, "the Music app never showed the new colour",
        [&] { std::snprintf(colour, sizeof colour, "#%06X", 0x101010 + 0x010203 * (++step % 64)); },
        [&] {
            app.write("tintColor", colour);
            return app.waitFor(colour, std::chrono::seconds(5), "tintColor");
        });
}
BENCHMARK(SettingChangedToThemeStateUpdated)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

// The same change made by the command line: its start, the write and its notification all count.
void CommandLineSetToThemeStateUpdated(benchmark::State& state) {
    RunningMusicApp app;
    int step = 0;
    char colour[8];
    bench::timeEachChange(
        state, "the Music app never showed the colour the command line set",
        [&] { std::snprintf(colour, sizeof colour, "#%06X", 0x201008 + 0x030201 * (++step % 64)); },
        [&] { return app.set("tintColor", colour) && app.waitFor(colour, std::chrono::seconds(5), "tintColor"); });
}
BENCHMARK(CommandLineSetToThemeStateUpdated)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithFigures(argc, argv, "Figures (medians of single timings):", [](bench::MedianReport& report) {
        report.figure("setting changed -> running Music app's ThemeState updated", report.counter("SettingChangedToThemeStateUpdated", "median_ms"), "ms", 100);
        report.figure("obscuro settings set -> running Music app's ThemeState updated",
                      report.counter("CommandLineSetToThemeStateUpdated", "median_ms"), "ms", 100);
    });
}
