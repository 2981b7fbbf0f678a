// The subcommands of the `obscuro` command line, one entry point per group.
#pragma once

#include <filesystem>
#include <span>

namespace obscuro::cli {

// Each entry point receives the arguments after its own name and returns the exit status:
// 0 on success, 2 for a usage error (with a message on stderr).
using Command = int (*)(std::span<char* const> arguments);

// The device the command line chose with --root (in any position), otherwise device::defaultRoot().
std::filesystem::path deviceRoot();

int colourCommand(std::span<char* const> arguments);
int settingsCommand(std::span<char* const> arguments);
int imageCommand(std::span<char* const> arguments);
int deviceCommand(std::span<char* const> arguments);
int sceneCommand(std::span<char* const> arguments);
int previewCommand(std::span<char* const> arguments);
int themeCommand(std::span<char* const> arguments);
int studioCommand(std::span<char* const> arguments);

}  // namespace obscuro::cli
