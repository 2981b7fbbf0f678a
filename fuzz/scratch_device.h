// A device root of the fuzz program's own, made once and removed when the program exits.
#pragma once

#include <device/device.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

// Where fuzz programs keep their device folders: memory (/dev/shm) where the system has it, as
// targets write files for every input, and a file system on disk journals every one of them.
inline std::filesystem::path scratchParent() {
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// Makes a fresh device root in the scratch parent the first time it is called and makes it the
// process's device. Later calls answer the same folder.
inline const std::filesystem::path& scratchDevice() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (scratchParent() / "obscuro-fuzz-XXXXXX").string();
        std::filesystem::path made = ::mkdtemp(pattern.data());
        device::setRoot(made);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(device::root(), ec);
        });
        return made;
    }();
    return folder;
}

// Puts `bytes` at a device path of the scratch device, folders included (made only when the file
// cannot be opened without them: they are there for every input but the first).
inline void placeFile(std::string_view devicePath, std::string_view bytes) {
    std::filesystem::path host = scratchDevice() / devicePath.substr(1);
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::filesystem::create_directories(host.parent_path());
        out.open(host, std::ios::binary | std::ios::trunc);
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Removes the file at a device path of the scratch device, if there is one.
inline void removeFile(std::string_view devicePath) {
    std::error_code ec;
    std::filesystem::remove(scratchDevice() / devicePath.substr(1), ec);
}

// An input that stands for several files holds them in order, separated by this line; files
// past the last part are absent.
constexpr std::string_view kFileSeparator = "\n--next-file--\n";

inline std::vector<std::string_view> splitFiles(std::string_view input) {
    std::vector<std::string_view> parts;
    while (true) {
        auto end = input.find(kFileSeparator);
        parts.push_back(input.substr(0, end));
        if (end == std::string_view::npos) return parts;
        input.remove_prefix(end + kFileSeparator.size());
    }
}

// Places part `index` of an input at a device path, or removes the file there when the input
// has no such part.
inline void placePart(std::string_view devicePath, const std::vector<std::string_view>& parts, std::size_t index) {
    if (index < parts.size()) placeFile(devicePath, parts[index]);
    else removeFile(devicePath);
}

// Ends the program loudly when a property the fuzzed code promises does not hold, so that the
// fuzzer keeps the input that broke it.
[[noreturn]] inline void broken(const char* promise) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

}  // namespace fuzzing
