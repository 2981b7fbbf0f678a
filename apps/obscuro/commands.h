// The subcommands of the `obscuro` command line, one declaration per group.
#pragma once

#include <CLI/CLI.hpp>

#include <filesystem>
#include <functional>

namespace obscuro::cli {

// What a subcommand does once the whole command line has been read; gives the exit status:
// 0 on success, 2 for a usage error (with a message on stderr).
using Action = std::function<int()>;

// Declares a subcommand's options, positionals and own subcommands on `command`, which the
// program has named; the program adds --root and --help to each. Returns what runs when the
// subcommand is chosen and its line has been read without a fault.
using Declare = Action (*)(CLI::App& command);

// The device the command line chose with --root (in any position), otherwise device::defaultRoot().
std::filesystem::path deviceRoot();

Action colourCommand(CLI::App& command);
Action deviceCommand(CLI::App& command);
Action imageCommand(CLI::App& command);
Action sceneCommand(CLI::App& command);
Action settingsCommand(CLI::App& command);
Action themeCommand(CLI::App& command);
Action previewCommand(CLI::App& command);
Action studioCommand(CLI::App& command);

}  // namespace obscuro::cli
