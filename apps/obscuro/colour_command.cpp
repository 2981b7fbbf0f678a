// `obscuro colour`: the toolkit's colour operations on colours given on the command line.
#include "colour_json.h"
#include "commands.h"

#include <commandline/CommandLine.h>

#include "UIColor+Tarnwick.h"

#include <Foundation/NSString.h>
#include <UIKit/UIGraphics.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace obscuro::cli {

namespace {

constexpr const char* kUsage =
    "usage: obscuro colour OP ARG [ARG]\n"
    "  parse TEXT        the colour tw_colorFromHexString makes of TEXT\n"
    "  hex C             {\"hex\": ...}\n"
    "  lighter C | darker C | inverse C | offset C\n"
    "  mid A B           A's midColorFrom B\n"
    "  is-light C        {\"light\": ...}\n";

void print(const nlohmann::json& value) { std::cout << value.dump() << '\n'; }

struct Operation {
    std::string_view name;
    std::size_t colours;  // how many colour arguments follow (parse takes text instead)
    nlohmann::json (*run)(const std::vector<id>& colours);
};

const Operation kOperations[] = {
    {"hex", 1, [](const std::vector<id>& c) {
         id hex = tw_hexStringFromColor(c[0]);
         return nlohmann::json{{"hex", hex ? nlohmann::json(objc::utf8(hex)) : nlohmann::json(nullptr)}};
     }},
    {"lighter", 1, [](const std::vector<id>& c) { return colourJson(lighterColor(c[0])); }},
    {"darker", 1, [](const std::vector<id>& c) { return colourJson(darkerColor(c[0])); }},
    {"inverse", 1, [](const std::vector<id>& c) { return colourJson(inverseColor(c[0])); }},
    {"offset", 1, [](const std::vector<id>& c) { return colourJson(offsetColor(c[0])); }},
    {"mid", 2, [](const std::vector<id>& c) { return colourJson(midColorFrom(c[0], c[1])); }},
    {"is-light", 1, [](const std::vector<id>& c) { return nlohmann::json{{"light", static_cast<bool>(isLightColor(c[0]))}}; }},
};

// What an operation takes, in the words of its usage error.
std::string takes(const std::string& op) {
    if (op == "parse") return "parse takes one text";
    for (const auto& operation : kOperations)
        if (op == operation.name) return op + " takes " + (operation.colours == 1 ? "one colour" : "two colours");
    return op;
}

int run(const Operation& operation, const std::vector<std::string>& operands) {
    std::vector<id> colours;
    for (const std::string& operand : operands) {
        id colour = colourArgument(operand);
        if (!colour) {
            std::cerr << "obscuro colour: '" << operand << "' is not a colour; " << kColourForms << '\n';
            return 2;
        }
        colours.push_back(colour);
    }
    print(operation.run(colours));
    return 0;
}

}  // namespace

Action colourCommand(CLI::App& command) {
    describeUsage(command, "obscuro colour", kUsage, [&command](const CLI::App& where, const CLI::Error& error) {
        return actionCountProblem(command, where, error, "operation", [](const CLI::App& operation) { return takes(operation.get_name()); });
    });
    command.require_subcommand(1);
    auto text = std::make_shared<std::string>();
    command.add_subcommand("parse")->add_option("TEXT", *text)->required();
    std::vector<std::pair<CLI::App*, std::shared_ptr<std::vector<std::string>>>> chosen;
    for (const auto& operation : kOperations) {
        auto operands = std::make_shared<std::vector<std::string>>(operation.colours);
        CLI::App* op = command.add_subcommand(std::string(operation.name));
        for (std::size_t i = 0; i < operation.colours; ++i) op->add_option(operation.colours == 1 ? "C" : i == 0 ? "A" : "B", (*operands)[i])->required();
        chosen.emplace_back(op, operands);
    }
    return [&command, text, chosen]() -> int {
        if (command.got_subcommand("parse")) {
            print(colourJson(tw_colorFromHexString(objc::str(*text))));
            return 0;
        }
        for (std::size_t i = 0; i < chosen.size(); ++i)
            if (chosen[i].first->parsed()) return run(kOperations[i], *chosen[i].second);
        return 2;
    };
}

}  // namespace obscuro::cli
