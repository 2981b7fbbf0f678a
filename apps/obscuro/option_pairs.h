// "--flag value" options after a subcommand: walking the pairs, and the values several subcommands take.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace obscuro::cli {

// What went wrong with the options, in words for the user; nothing when all is well.
using OptionProblem = std::optional<std::string>;

using OptionTaker = std::function<OptionProblem(const std::string& flag, const std::string& value)>;

// Hands each "--flag value" pair of `arguments` to `take`, which returns a problem for a flag or
// value it does not accept. Gives the exit status when the command ends here: --help or -h
// prints `usage` on stdout (0); a problem, a flag without a value included, goes to
// `usageError`, which prints it and gives the status. Nothing when every pair was taken.
std::optional<int> readOptionPairs(std::span<char* const> arguments, const char* usage,
                                   const std::function<int(const std::string& problem)>& usageError, const OptionTaker& take);

// Whether --help or -h stands anywhere among `arguments`.
bool asksForHelp(std::span<char* const> arguments);
// Prints a command's usage on stdout, as an answer to --help; gives the exit status 0.
int printHelp(const char* usage);

// A drawing scale: a number in (0, 4].
OptionProblem readScale(const std::string& value, double* scale);
// A loopback port: 0 (any free port) to 65535.
OptionProblem readPort(const std::string& value, int* port);
// The name of one of the Music app's screens.
OptionProblem knownScreen(const std::string& name);

}  // namespace obscuro::cli
