// Finding a device's Music app processes in /proc and starting them afresh, as a respring makes the app start again.
#include "MusicProcesses.h"

#include <device/device.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace killall {

namespace {

constexpr const char* kMusicProgram = "obscuro-music";
constexpr std::string_view kRootVariable = "OBSCURO_DEVICE_ROOT=";

fs::path procPath(pid_t pid, const char* entry) { return fs::path("/proc") / std::to_string(pid) / entry; }

// The NUL-separated fields of /proc/<pid>/cmdline or environ.
std::vector<std::string> nulFields(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        fields.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

std::optional<fs::path> link(const fs::path& path) {
    std::error_code error;
    fs::path target = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    return target;
}

// The running program, even after a rebuild replaced the file.
std::optional<fs::path> programOf(pid_t pid) {
    auto exe = link(procPath(pid, "exe"));
    if (!exe) return std::nullopt;
    std::string text = exe->string();
    constexpr std::string_view deleted = " (deleted)";
    if (text.ends_with(deleted)) text.erase(text.size() - deleted.size());
    return fs::path(text);
}

fs::path comparable(const fs::path& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
}

std::optional<fs::path> deviceOf(pid_t pid) {
    auto arguments = nulFields(procPath(pid, "cmdline"));
    for (std::size_t i = 1; i + 1 < arguments.size(); ++i)
        if (arguments[i] == "--root") {
            fs::path root = arguments[i + 1];
            if (root.is_relative()) {
                auto cwd = link(procPath(pid, "cwd"));
                if (!cwd) return std::nullopt;
                root = *cwd / root;
            }
            return root;
        }
    for (const auto& variable : nulFields(procPath(pid, "environ")))
        if (variable.starts_with(kRootVariable) && variable.size() > kRootVariable.size()) return fs::path(variable.substr(kRootVariable.size()));
    return device::stagedRoot();
}

bool ownedByMe(pid_t pid) {
    struct stat info {};
    return ::stat(procPath(pid, "").c_str(), &info) == 0 && info.st_uid == ::getuid();
}

// Gone, or a zombie its parent has not collected yet: either way it no longer runs.
bool hasEnded(pid_t pid) {
    std::ifstream stat(procPath(pid, "stat"));
    std::string line;
    if (!std::getline(stat, line)) return true;
    auto close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] == 'Z' || line[close + 2] == 'X';
}

bool waitForEnd(pid_t pid, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!hasEnded(pid)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

int reopenOutput(pid_t pid, int fd) {
    int reopened = ::open((procPath(pid, "fd") / std::to_string(fd)).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    return reopened >= 0 ? reopened : ::open("/dev/null", O_WRONLY | O_CLOEXEC);
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (auto& s : strings) result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

}  // namespace

std::vector<pid_t> musicProcessesOnDevice(const fs::path& deviceRoot) {
    std::vector<pid_t> found;
    if (deviceRoot.empty()) return found;
    fs::path wanted = comparable(deviceRoot);
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        pid_t pid = static_cast<pid_t>(std::stol(name));
        if (pid == ::getpid() || !ownedByMe(pid) || hasEnded(pid)) continue;
        auto program = programOf(pid);
        if (!program || program->filename() != kMusicProgram) continue;
        auto device = deviceOf(pid);
        if (device && comparable(*device) == wanted) found.push_back(pid);
    }
    return found;
}

pid_t restartMusicProcess(pid_t pid) {
    // Everything needed to start it again is read while it still runs.
    auto program = programOf(pid);
    auto cwd = link(procPath(pid, "cwd"));
    auto arguments = nulFields(procPath(pid, "cmdline"));
    auto environment = nulFields(procPath(pid, "environ"));
    if (!program || !cwd || arguments.empty()) return -1;
    int output = reopenOutput(pid, STDOUT_FILENO);
    int errors = reopenOutput(pid, STDERR_FILENO);

    if (::kill(pid, SIGTERM) == 0 && !waitForEnd(pid, std::chrono::seconds(2))) {
        ::kill(pid, SIGKILL);
        waitForEnd(pid, std::chrono::seconds(2));
    }

    auto argv = pointers(arguments);
    auto envp = pointers(environment);
    pid_t child = ::fork();
    if (child == 0) {
        int input = ::open("/dev/null", O_RDONLY);
        ::dup2(input, STDIN_FILENO);
        ::dup2(output, STDOUT_FILENO);
        ::dup2(errors, STDERR_FILENO);
        ::close_range(3, ~0U, 0);  // nothing of the caller's (a listening socket, say) outlives it in the app
        if (::chdir(cwd->c_str()) != 0) ::_exit(127);
        ::execve(program->c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(output);
    ::close(errors);
    return child;
}

}  // namespace killall
