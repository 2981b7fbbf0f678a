// Running `obscuro` as a user does: a shell command line, its standard output, error output and status.
#pragma once

#include <nlohmann/json.hpp>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace cli_test {

struct Result {
    int status = -1;
    std::string out, err;
    nlohmann::json parsed() const { return nlohmann::json::parse(out); }
};

// One argument in single quotes for /bin/sh.
inline std::string shellQuoted(const std::string& argument) {
    std::string q = "'";
    for (char c : argument) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// A folder of its own, removed at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "obscuro-cli-test-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data())) path_ = buffer.data();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Runs OBSCURO_CLI with `arguments` and collects what it printed.
inline Result obscuro(const std::vector<std::string>& arguments) {
    ScratchFolder scratch;
    const std::string errPath = (scratch.path() / "stderr").string();
    std::string command = shellQuoted(OBSCURO_CLI);
    for (const auto& argument : arguments) command += " " + shellQuoted(argument);
    command += " 2>" + shellQuoted(errPath);
    Result result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    result.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return result;
}

}  // namespace cli_test
