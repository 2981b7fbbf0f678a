// `obscuro colour`: the toolkit's colour operations on colours given on the command line.
#include "colour_json.h"
#include "commands.h"
#include "option_pairs.h"

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

int usageError(const std::string& message) {
    std::cerr << "obscuro colour: " << message << '\n' << kUsage;
    return 2;
}

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

}  // namespace

int colourCommand(std::span<char* const> arguments) {
    if (asksForHelp(arguments)) return printHelp(kUsage);
    if (arguments.empty()) return usageError("missing operation");
    std::string_view op = arguments[0];
    auto operands = arguments.subspan(1);
    if (op == "parse") {
        if (operands.size() != 1) return usageError("parse takes one text");
        print(colourJson(tw_colorFromHexString(objc::str(operands[0]))));
        return 0;
    }
    for (const auto& operation : kOperations) {
        if (op != operation.name) continue;
        if (operands.size() != operation.colours)
            return usageError(std::string(op) + " takes " + (operation.colours == 1 ? "one colour" : "two colours"));
        std::vector<id> colours;
        for (const char* operand : operands) {
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
    return usageError("unknown operation '" + std::string(op) + "'");
}

}  // namespace obscuro::cli
