// A host program run as a child process by the host tests: its standard output and error gathered as they come, its exit status.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace host_test {

using namespace std::chrono_literals;

class HostProcess {
public:
    // Starts `program` with `arguments`, in this process's environment with `settings` ("NAME=value")
    // put in place of the variables of the same names.
    HostProcess(const std::string& program, const std::vector<std::string>& arguments, const std::vector<std::string>& settings = {}) {
        int out[2], err[2];
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        std::vector<std::string> words{program};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        std::vector<std::string> environment = settings;
        for (char** entry = environ; *entry; ++entry) {
            auto sameName = [entry](const std::string& setting) {
                std::size_t name = setting.find('=') + 1;
                return std::strncmp(*entry, setting.c_str(), name) == 0;
            };
            if (std::none_of(settings.begin(), settings.end(), sameName)) environment.emplace_back(*entry);
        }
        std::vector<char*> envp;
        for (auto& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);
        EXPECT_EQ(::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
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
        if (out_ >= 0) ::close(out_);
        if (err_ >= 0) ::close(err_);
    }
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

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
        // Both streams may end a moment before the host has exited: it is given until the deadline.
        int status = 0;
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(1ms);
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


}  // namespace host_test
