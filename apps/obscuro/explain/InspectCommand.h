// `obscuro preview inspect`: reached through `obscuro preview`, whose subcommand it is.
#pragma once

#include <span>

namespace obscuro::cli {

// The arguments after "inspect"; returns the exit status as every subcommand does.
int inspectCommand(std::span<char* const> arguments);

}  // namespace obscuro::cli
