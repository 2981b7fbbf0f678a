// "--flag value" options after a subcommand: walking the pairs, and the values several subcommands take.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace obscuro::cli {

// What went wrong with the options, in words for the user; nothing when all is well.
using OptionProblem = std::optional<std::string>;

// Hands each "--flag value" pair of `arguments` to `take`, which returns a problem for a flag or
// value it does not accept. --help or -h stops the walk and sets `*help`. A flag without a value
// is a problem.
OptionProblem readOptionPairs(std::span<char* const> arguments, bool* help,
                              const std::function<OptionProblem(const std::string& flag, const std::string& value)>& take);

// A drawing scale: a number in (0, 4].
OptionProblem readScale(const std::string& value, double* scale);
// A loopback port: 0 (any free port) to 65535.
OptionProblem readPort(const std::string& value, int* port);
// The name of one of the Music app's screens.
OptionProblem knownScreen(const std::string& name);

}  // namespace obscuro::cli
