// Child processes for the settings tests: started with arguments and environment, their output read line by line with deadlines.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace settings_test {

class ChildProcess {
public:
    // Starts `program` with `arguments`; OBSCURO_DEVICE_ROOT is `deviceRoot` when not empty.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments, const std::string& deviceRoot = "");
    ~ChildProcess();  // ends the process (SIGTERM, then SIGKILL) if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // The next line of standard output, or nullopt at end of output or after `timeout`.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    // Reads lines until one contains `text`; that line, or nullopt.
    std::optional<std::string> waitForLine(const std::string& text, std::chrono::milliseconds timeout);
    // Everything left on standard output, then the exit status (-1 when killed by a signal).
    int finish(std::string* output = nullptr);
    void kill(int signal);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
    bool ended_ = false;
    int status_ = 0;
};

// Runs a program to its end: its exit status and standard output.
int run(const std::string& program, const std::vector<std::string>& arguments, const std::string& deviceRoot, std::string* output);

}  // namespace settings_test
