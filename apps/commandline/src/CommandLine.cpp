// How every host program reads its command line on CLI11: its usage, its words for a usage error, help in any position, and the checks several share.
#include <commandline/CommandLine.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

namespace obscuro::cli {

void describeUsage(CLI::App& command, const std::string& prefix, const std::string& usage, ProblemWords words) {
    command.formatter_fn([usage](const CLI::App*, const std::string&, CLI::AppFormatMode) { return usage; });
    command.failure_message([prefix, usage, words](const CLI::App* where, const CLI::Error& error) {
        std::optional<std::string> problem = words ? words(*where, error) : std::nullopt;
        return prefix + ": " + problem.value_or(usualProblem(*where, error)) + "\n" + usage;
    });
}

std::optional<int> readCommandLine(CLI::App& program, int argc, char** argv) {
    bool help = asksForHelp(argc, argv);
    try {
        program.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (!help && !dynamic_cast<const CLI::CallForHelp*>(&error)) return reportUsageError(chosenCommand(program), error);
        help = true;
    }
    if (!help) return std::nullopt;
    std::cout << chosenCommand(program).help();
    return 0;
}

const CLI::App& chosenCommand(const CLI::App& program) {
    const CLI::App* chosen = &program;
    while (!chosen->get_subcommands().empty()) chosen = chosen->get_subcommands().front();
    return *chosen;
}

bool asksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    return false;
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
    std::vector<std::string> left = leftOver(where);
    // A program without positionals keeps the "--" among what it did not take; every word after
    // it is an argument, whatever it looks like.
    if (left.size() > 1 && left.front() == "--") return "unexpected argument " + left[1];
    if (!left.empty()) return (looksLikeOption(left.front()) ? "unknown option " : "unexpected argument ") + left.front();
    return message;
}

CLI::Validator nonEmpty(const std::string& option) {
    return CLI::Validator([option](std::string& value) { return value.empty() ? option + " needs a non-empty value" : std::string(); }, "");
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

std::optional<std::string> actionCountProblem(const CLI::App& command, const CLI::App& where, const CLI::Error& error, const std::string& noun,
                                              const std::function<std::string(const CLI::App& action)>& inAction) {
    std::string left = firstLeftOver(where);
    if (!isMissingOrLeftOver(error) || looksLikeOption(left)) return std::nullopt;
    if (&where == &command) return left.empty() ? "missing " + noun : "unknown " + noun + " '" + left + "'";
    return inAction(where);
}

}  // namespace obscuro::cli
