// A device root of the fuzz program's own, made once and removed when the program exits.
#pragma once

#include <device/device.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzing {

// Makes a fresh device root in the temporary folder the first time it is called and makes it
// the process's device. Later calls answer the same folder.
inline const std::filesystem::path& scratchDevice() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "obscuro-fuzz-XXXXXX").string();
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

// Puts `bytes` at a device path of the scratch device, folders included.
inline void placeFile(std::string_view devicePath, std::string_view bytes) {
    std::filesystem::path host = scratchDevice() / devicePath.substr(1);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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

// Ends the program loudly when a property the fuzzed code promises does not hold, so that the
// fuzzer keeps the input that broke it.
[[noreturn]] inline void broken(const char* promise) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

}  // namespace fuzzing
