// How every host program reads its command line on CLI11: its usage, its words for a usage error, help in any position, and the checks several share.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace obscuro::cli {

// A command's own words for a usage error CLI11 found in `where` (the command or one of the
// subcommands declared on it); nothing leaves the usual words.
using ProblemWords = std::function<std::optional<std::string>(const CLI::App& where, const CLI::Error& error)>;

// Gives `command` its usage: printed on stdout as the answer to --help, and on stderr after
// "PREFIX: PROBLEM" for a usage error. Subcommands declared on `command` afterwards inherit both.
void describeUsage(CLI::App& command, const std::string& prefix, const std::string& usage, ProblemWords words = {});

// Reads the whole command line into `program` and the commands declared on it. Nothing when the
// program goes on; otherwise the exit status once the chosen command's usage is on stdout (0),
// for --help or -h in any position before a "--", which wins over any fault, or once the usage
// error is on stderr (2).
std::optional<int> readCommandLine(CLI::App& program, int argc, char** argv);

// The (sub)command whose line was being read: the deepest one chosen under `program`.
const CLI::App& chosenCommand(const CLI::App& program);

// Whether --help or -h stands anywhere before a "--", the value of an option included. After
// "--" every word is an argument, so a value may be spelt "-h".
bool asksForHelp(int argc, char** argv);

// Prints the usage error in `where`'s words on stderr; gives the exit status 2.
int reportUsageError(const CLI::App& where, const CLI::Error& error);

// The usual words for a usage error: a check's own message, "missing value after --flag",
// "unknown option --flag" or "unexpected argument WORD".
std::string usualProblem(const CLI::App& where, const CLI::Error& error);

// Whether CLI11 found too few or too many words: a required positional or subcommand missing, or
// arguments that nothing took.
bool isMissingOrLeftOver(const CLI::Error& error);

// The arguments that nothing on the command line of `command` took, in order.
std::vector<std::string> leftOver(const CLI::App& command);
// The first of them; empty when all were taken.
std::string firstLeftOver(const CLI::App& command);

// Whether `text` is an argument CLI11 reads as an option rather than a word or a negative number.
bool looksLikeOption(const std::string& text);

// The words of a command made of named actions (`noun`: "action", "operation") for too few or
// too many words: "missing NOUN" or "unknown NOUN 'WORD'" in `command` itself, what `inAction`
// says in one of its actions. Nothing for every other fault, which keeps the usual words.
std::optional<std::string> actionCountProblem(const CLI::App& command, const CLI::App& where, const CLI::Error& error, const std::string& noun,
                                              const std::function<std::string(const CLI::App& action)>& inAction);

// Refuses an empty value, which CLI11 takes like any other: "OPTION needs a non-empty value".
CLI::Validator nonEmpty(const std::string& option);
// A drawing scale: a number in (0, 4].
CLI::Validator drawingScale();
// A loopback port: 0 (any free port) to 65535, in decimal; given as a transform, as it writes the
// number back without the leading zeros CLI11 would read as octal.
CLI::Validator loopbackPort();

}  // namespace obscuro::cli
