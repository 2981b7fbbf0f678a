// How every `obscuro` subcommand declares its command line on CLI11: its usage, its words for a usage error, and the checks several share.
#include "command_line.h"

#include <screens/MusicScreens.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace obscuro::cli {

namespace {

std::optional<std::string> unknownScreen(const std::string& name) {
    std::vector<std::string> screens = music::screens::screenNames();
    if (std::find(screens.begin(), screens.end(), name) != screens.end()) return std::nullopt;
    std::string known;
    for (const auto& screen : screens) known += " " + screen;
    return "unknown screen '" + name + "' (screens:" + known + ")";
}

}  // namespace

void describeUsage(CLI::App& command, const std::string& prefix, const std::string& usage, ProblemWords words) {
    command.formatter_fn([usage](const CLI::App*, const std::string&, CLI::AppFormatMode) { return usage; });
    command.failure_message([prefix, usage, words](const CLI::App* where, const CLI::Error& error) {
        std::optional<std::string> problem = words ? words(*where, error) : std::nullopt;
        return prefix + ": " + problem.value_or(usualProblem(*where, error)) + "\n" + usage;
    });
}

int reportUsageError(const CLI::App& where, const CLI::Error& error) {
    where.exit(error, std::cout, std::cerr);
    return 2;
}

bool looksLikeOption(const std::string& text) {
    if (text.size() < 2 || text[0] != '-') return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return *end != '\0';
}

std::vector<std::string> leftOver(const CLI::App& command) {
    // What a subcommand passes up to its parent is kept there, so the whole line is asked.
    const CLI::App* root = &command;
    while (root->get_parent()) root = root->get_parent();
    return root->remaining(true);
}

std::string firstLeftOver(const CLI::App& command) {
    std::vector<std::string> left = leftOver(command);
    return left.empty() ? std::string() : left.front();
}

bool isMissingOrLeftOver(const CLI::Error& error) {
    return dynamic_cast<const CLI::RequiredError*>(&error) || dynamic_cast<const CLI::ExtrasError*>(&error);
}

std::string usualProblem(const CLI::App& where, const CLI::Error& error) {
    std::string message = error.what();
    // A check's message and a missing value both come as "NAME: what CLI11 says".
    std::string name = message.substr(0, message.find(": "));
    if (dynamic_cast<const CLI::ValidationError*>(&error)) return message.substr(std::min(message.size(), name.size() + 2));
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) return "missing value after " + name;
    if (std::string left = firstLeftOver(where); !left.empty())
        return (looksLikeOption(left) ? "unknown option " : "unexpected argument ") + left;
    return message;
}

CLI::Validator drawingScale() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            char* end = nullptr;
            double parsed = std::strtod(value.c_str(), &end);
            if (value.empty() || *end || !(parsed > 0 && parsed <= 4)) return "--scale takes a number in (0, 4]";
            return {};
        },
        "S");
}

CLI::Validator loopbackPort() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            char* end = nullptr;
            long parsed = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end || parsed < 0 || parsed > 65535) return "--port takes a number from 0 to 65535";
            // CLI11 reads a leading 0 as octal; the port is the decimal number written.
            value = std::to_string(parsed);
            return {};
        },
        "P");
}

CLI::Validator musicScreen(bool allowAll) {
    return CLI::Validator(
        [allowAll](std::string& name) -> std::string {
            if (allowAll && name == "all") return {};
            return unknownScreen(name).value_or(std::string());
        },
        "NAME");
}

std::optional<std::string> actionCountProblem(const CLI::App& command, const CLI::App& where, const CLI::Error& error, const std::string& noun,
                                              const std::function<std::string(const CLI::App& action)>& inAction) {
    std::string left = firstLeftOver(where);
    if (!isMissingOrLeftOver(error) || looksLikeOption(left)) return std::nullopt;
    if (&where == &command) return left.empty() ? "missing " + noun : "unknown " + noun + " '" + left + "'";
    return inAction(where);
}

}  // namespace obscuro::cli
