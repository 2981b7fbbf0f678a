// `obscuro device create DIR`: a fresh device root, copied from the staged default device or from --root.
#include "commands.h"
#include "device_folder.h"

#include <commandline/CommandLine.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace obscuro::cli {

namespace {

constexpr const char* kUsage =
    "usage: obscuro device create DIR [--root DEVICE]\n"
    "  makes DIR a copy of the default device (or of DEVICE); DIR must be missing or empty\n";

int usageError(const std::string& message) {
    std::cerr << "obscuro device: " << message << '\n' << kUsage;
    return 2;
}

int createDevice(const fs::path& folder, const fs::path& source) {
    std::error_code error;
    if (!fs::is_directory(source, error))
        return usageError("there is no device at " + source.string() + " (build the default device, or name one with --root)");
    if (fs::exists(fs::symlink_status(folder, error))) {
        if (!fs::is_directory(folder, error)) return usageError(folder.string() + " exists and is not a folder");
        if (!fs::is_empty(folder, error)) return usageError("refusing to fill " + folder.string() + ": the folder is not empty");
    }
    if (fs::weakly_canonical(folder, error).string().starts_with(fs::weakly_canonical(source, error).string() + "/"))
        return usageError("the new device cannot lie inside the device it copies");
    bool made = fs::create_directories(folder, error);
    if (error) {
        std::cerr << "obscuro device: cannot make " << folder << ": " << error.message() << '\n';
        return 1;
    }
    try {
        copyDevice(source, folder);
    } catch (const fs::filesystem_error& failure) {
        std::cerr << "obscuro device: copy failed: " << failure.what() << '\n';
        // Leave no half device behind: what this command made, it takes away again.
        if (made) fs::remove_all(folder, error);
        else
            for (const auto& entry : fs::directory_iterator(folder, error)) fs::remove_all(entry.path(), error);
        return 1;
    }
    std::cout << fs::absolute(folder, error).lexically_normal().string() << '\n';
    return 0;
}

}  // namespace

Action deviceCommand(CLI::App& command) {
    describeUsage(command, "obscuro device", kUsage, [&command](const CLI::App& where, const CLI::Error& error) {
        return actionCountProblem(command, where, error, "action", [](const CLI::App&) { return "create takes one folder"; });
    });
    command.require_subcommand(1);
    auto folder = std::make_shared<std::string>();
    command.add_subcommand("create")->add_option("DIR", *folder)->required();
    return [folder] { return createDevice(*folder, deviceRoot()); };
}

}  // namespace obscuro::cli
