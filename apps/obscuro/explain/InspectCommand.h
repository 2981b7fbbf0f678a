// `obscuro preview inspect`: reached through `obscuro preview`, whose subcommand it is.
#pragma once

#include "../commands.h"

namespace obscuro::cli {

// Declares `obscuro preview inspect SCREEN X Y` on `command`, the preview's subcommand "inspect".
Action inspectCommand(CLI::App& command);

}  // namespace obscuro::cli
