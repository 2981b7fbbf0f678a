// Starting the studio's Music app, reading its "Painted" reports into the feed, and ending it wherever a restart left it.
#include <studio/LiveMusicApp.h>

#include <MusicProcesses.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>

extern char** environ;

namespace studio {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::string_view kPainted = "Painted ";
constexpr std::string_view kDescribed = "Described ";
constexpr std::string_view kProcess = "(process ";

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> commandLineOf(pid_t pid) {
    std::string bytes = fileBytes(fs::path("/proc") / std::to_string(pid) / "cmdline");
    std::vector<std::string> fields;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        fields.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

// Gone, or a zombie nobody collected yet (a restarted app's parent is not this process).
bool hasEnded(pid_t pid) {
    std::ifstream stat(fs::path("/proc") / std::to_string(pid) / "stat");
    std::string line;
    if (!std::getline(stat, line)) return true;
    auto close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] == 'Z' || line[close + 2] == 'X';
}

std::string exitInWords(int status) {
    if (WIFEXITED(status)) return "the Music app ended with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return std::string("the Music app was ended by ") + ::strsignal(WTERMSIG(status));
    return "the Music app ended";
}

}  // namespace

LiveMusicApp::LiveMusicApp(MusicAppLaunch launch, PictureFeed& feed) : launch_(std::move(launch)), feed_(feed) {
    launch_.root = fs::absolute(launch_.root);
    launch_.picture = fs::absolute(launch_.picture);
}

LiveMusicApp::~LiveMusicApp() { stop(); }

std::vector<std::string> LiveMusicApp::arguments() const {
    char scale[32];
    std::snprintf(scale, sizeof scale, "%g", launch_.scale);
    return {launch_.program.string(), "--root", launch_.root.string(), "--screen", launch_.screen,
            "--picture", launch_.picture.string(), "--scale", scale, "--explain", "--serve"};
}

bool LiveMusicApp::start(std::string* error) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    // Nothing of this process (the host's listening socket above all) outlives it in the app.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    // The app starts with the signals as a fresh program has them, whatever this process blocks.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> args = arguments();
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    int failed = ::posix_spawn(&pid, launch_.program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipeFds[1]);
    if (failed) {
        ::close(pipeFds[0]);
        *error = "cannot start " + launch_.program.string() + ": " + std::strerror(failed);
        return false;
    }
    {
        std::lock_guard guard(childLock_);
        child_ = pid;
    }
    output_ = pipeFds[0];
    wake_ = ::eventfd(0, EFD_CLOEXEC);
    follower_ = std::thread([this] { follow(); });
    return true;
}

void LiveMusicApp::follow() {
    std::string buffer;
    char chunk[4096];
    for (;;) {
        pollfd fds[2] = {{output_, POLLIN, 0}, {wake_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents) return;
        ssize_t count = ::read(output_, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        buffer.append(chunk, static_cast<std::size_t>(count));
        for (auto newline = buffer.find('\n'); newline != std::string::npos; newline = buffer.find('\n')) {
            handleLine(buffer.substr(0, newline));
            buffer.erase(0, newline + 1);
        }
    }
    // Nobody writes to the app's output any more: no restart is under way, the app has ended. Its
    // exit is known only for this object's own child, collected here if it is that one.
    std::string how = reapChild();
    for (auto deadline = std::chrono::steady_clock::now() + 1s; how.empty() && childRuns() && std::chrono::steady_clock::now() < deadline;) {
        std::this_thread::sleep_for(5ms);
        how = reapChild();
    }
    feed_.publishEnded(how.empty() ? "the Music app ended" : how);
}

// "Painted SCREEN (process PID, …)" and "Described SCREEN (process PID, …)".
void LiveMusicApp::handleLine(const std::string& line) {
    bool painted = line.starts_with(kPainted);
    if (!painted && !line.starts_with(kDescribed)) return;
    auto at = line.find(kProcess);
    if (at == std::string::npos) return;
    pid_t process = static_cast<pid_t>(std::strtol(line.c_str() + at + kProcess.size(), nullptr, 10));
    if (process <= 0) return;
    std::size_t nameStart = (painted ? kPainted : kDescribed).size();
    std::string screen = at > nameStart + 1 ? line.substr(nameStart, at - nameStart - 1) : std::string();
    if (!painted) {
        // Follows its picture on the same stream, so it describes the latest one.
        auto description = nlohmann::ordered_json::parse(fileBytes(describedFile()), nullptr, false);
        if (!description.is_discarded()) feed_.publishDescription(std::move(description));
        return;
    }
    // A picture from another process means a restart ended the one this object started.
    reapChild();
    std::string png = fileBytes(launch_.picture);
    if (!png.empty()) feed_.publishPicture(std::move(png), process, std::move(screen));
}

std::filesystem::path LiveMusicApp::describedFile() const { return fs::path(launch_.picture) += ".json"; }

std::filesystem::path LiveMusicApp::screenRequestFile() const { return fs::path(launch_.picture) += ".screen"; }

bool LiveMusicApp::showScreen(const std::string& screen, std::string* error) {
    // Replaced whole, so the app reads the name complete; a restarted app reads it at start.
    fs::path partial = fs::path(screenRequestFile()) += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!(out << screen << '\n') || !out.flush()) {
            *error = "cannot write " + partial.string();
            return false;
        }
    }
    std::error_code failed;
    fs::rename(partial, screenRequestFile(), failed);
    if (failed) {
        *error = "cannot put the screen request in place at " + screenRequestFile().string() + ": " + failed.message();
        return false;
    }
    return true;
}

bool LiveMusicApp::childRuns() {
    std::lock_guard guard(childLock_);
    return child_ > 0;
}

std::string LiveMusicApp::reapChild() {
    std::lock_guard guard(childLock_);
    if (child_ <= 0) return "";
    int status = 0;
    pid_t reaped = ::waitpid(child_, &status, WNOHANG);
    if (reaped == 0) return "";
    child_ = -1;
    return reaped > 0 ? exitInWords(status) : "";
}

std::vector<pid_t> LiveMusicApp::processesDrawingHere() const {
    std::vector<pid_t> found;
    for (pid_t pid : killall::musicProcessesOnDevice(launch_.root)) {
        auto args = commandLineOf(pid);
        auto flag = std::find(args.begin(), args.end(), "--picture");
        if (flag != args.end() && std::next(flag) != args.end() && fs::absolute(*std::next(flag)) == launch_.picture) found.push_back(pid);
    }
    return found;
}

void LiveMusicApp::stop() {
    if (!follower_.joinable()) return;
    std::vector<pid_t> running = processesDrawingHere();
    {
        std::lock_guard guard(childLock_);
        if (child_ > 0 && std::find(running.begin(), running.end(), child_) == running.end()) running.push_back(child_);
    }
    for (pid_t pid : running) ::kill(pid, SIGTERM);
    auto ended = [&] {
        reapChild();
        std::lock_guard guard(childLock_);
        return std::all_of(running.begin(), running.end(), [&](pid_t pid) { return pid != child_ && hasEnded(pid); });
    };
    auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!ended() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(5ms);
    if (!ended()) {
        for (pid_t pid : running) ::kill(pid, SIGKILL);
        while (!ended()) std::this_thread::sleep_for(5ms);
    }
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(wake_, &one, sizeof one);
    follower_.join();
    ::close(output_);
    ::close(wake_);
    output_ = wake_ = -1;
}

}  // namespace studio
