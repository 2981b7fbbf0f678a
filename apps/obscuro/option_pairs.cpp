// "--flag value" options after a subcommand: walking the pairs, and the values several subcommands take.
#include "option_pairs.h"

#include <screens/MusicScreens.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace obscuro::cli {

std::optional<int> readOptionPairs(std::span<char* const> arguments, const char* usage,
                                   const std::function<int(const std::string& problem)>& usageError, const OptionTaker& take) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string flag = arguments[i];
        if (flag == "--help" || flag == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (i + 1 >= arguments.size()) return usageError("missing value after " + flag);
        if (OptionProblem problem = take(flag, arguments[++i])) return usageError(*problem);
    }
    return std::nullopt;
}

bool asksForHelp(std::span<char* const> arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const char* argument) {
        return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0;
    });
}

int printHelp(const char* usage) {
    std::fputs(usage, stdout);
    return 0;
}

OptionProblem readScale(const std::string& value, double* scale) {
    char* end = nullptr;
    double parsed = std::strtod(value.c_str(), &end);
    if (value.empty() || *end || !(parsed > 0 && parsed <= 4)) return "--scale takes a number in (0, 4]";
    *scale = parsed;
    return std::nullopt;
}

OptionProblem readPort(const std::string& value, int* port) {
    char* end = nullptr;
    long parsed = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end || parsed < 0 || parsed > 65535) return "--port takes a number from 0 to 65535";
    *port = static_cast<int>(parsed);
    return std::nullopt;
}

OptionProblem knownScreen(const std::string& name) {
    std::vector<std::string> screens = music::screens::screenNames();
    if (std::find(screens.begin(), screens.end(), name) != screens.end()) return std::nullopt;
    std::string known;
    for (const auto& screen : screens) known += " " + screen;
    return "unknown screen '" + name + "' (screens:" + known + ")";
}

}  // namespace obscuro::cli
