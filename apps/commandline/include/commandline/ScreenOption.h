// The check of an option that names one of the Music app's screens, for the hosts that draw them.
#pragma once

#include <CLI/CLI.hpp>

namespace obscuro::cli {

// The name of one of the Music app's screens, or also "all" when `allowAll`; its message lists them.
CLI::Validator musicScreen(bool allowAll = false);

}  // namespace obscuro::cli
