// Child processes with a pipe on standard output, for the tests that run the hosts and the command line.
#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace settings_test {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments, const std::string& deviceRoot) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, "OBSCURO_DEVICE_ROOT=", 20) != 0) environment.emplace_back(*entry);
    if (!deviceRoot.empty()) environment.push_back("OBSCURO_DEVICE_ROOT=" + deviceRoot);
    std::vector<char*> envp, argv;
    for (auto& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> all = {program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    int error = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    out_ = pipeFds[0];
    if (error != 0) throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));
}

ChildProcess::~ChildProcess() {
    if (!ended_ && pid_ > 0) {
        // A child that ignores SIGTERM for two seconds is killed. The process descriptor turns
        // readable when the child ends, so the wait ends with it.
        int process = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
        ::kill(pid_, SIGTERM);
        if (process >= 0) {
            pollfd ended{process, POLLIN, 0};
            while (::poll(&ended, 1, 2000) < 0 && errno == EINTR) {
            }
            ::close(process);
        }
        if (::waitpid(pid_, &status_, WNOHANG) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status_, 0);
        }
    }
    if (out_ >= 0) ::close(out_);
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto newline = buffer_.find('\n');
        if (newline != std::string::npos) {
            std::string line = buffer_.substr(0, newline);
            buffer_.erase(0, newline + 1);
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0 || out_ < 0) return std::nullopt;
        pollfd readable{out_, POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(left)) <= 0) continue;
        char chunk[4096];
        ssize_t got = ::read(out_, chunk, sizeof chunk);
        if (got <= 0) {
            if (buffer_.empty()) return std::nullopt;
            std::string rest = std::move(buffer_);
            buffer_.clear();
            return rest;
        }
        buffer_.append(chunk, static_cast<std::size_t>(got));
    }
}

std::optional<std::string> ChildProcess::waitForLine(const std::string& text, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        auto line = readLine(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()));
        if (!line) return std::nullopt;
        if (line->find(text) != std::string::npos) return line;
    }
    return std::nullopt;
}

int ChildProcess::finish(std::string* output) {
    std::string all;
    while (auto line = readLine(std::chrono::seconds(60))) all += *line + "\n";
    if (output) *output = all;
    if (!ended_) {
        ::waitpid(pid_, &status_, 0);
        ended_ = true;
    }
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

void ChildProcess::kill(int signal) { ::kill(pid_, signal); }

int run(const std::string& program, const std::vector<std::string>& arguments, const std::string& deviceRoot, std::string* output) {
    ChildProcess child(program, arguments, deviceRoot);
    return child.finish(output);
}

}  // namespace settings_test
