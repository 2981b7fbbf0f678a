// The `obscuro` command line: one CLI11 parser on which every subcommand declares its line, then the subcommand chosen.
#include "commands.h"

#include <commandline/CommandLine.h>

#include <device/device.h>
#include <objc/Strong.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using obscuro::cli::Action;

struct Subcommand {
    const char* name;
    obscuro::cli::Declare declare;
    const char* usage;
};

constexpr Subcommand kSubcommands[] = {
    {"colour", obscuro::cli::colourCommand, "colour OP ARG [ARG]   colour arithmetic and hex strings (JSON on stdout)"},
    {"settings", obscuro::cli::settingsCommand, "settings list|get|set|tap|serve   the product's settings pages (see obscuro settings)"},
    {"image", obscuro::cli::imageCommand, "image OP ARGS...      image operations and colour analysis on PNG files (JSON on stdout)"},
    {"device", obscuro::cli::deviceCommand, "device create DIR      a fresh device root, copied from the default device"},
    {"scene", obscuro::cli::sceneCommand, "scene run FILE.json [--explain]   run a scene in the simulated Music app (JSON on stdout)"},
    {"preview", obscuro::cli::previewCommand, "preview [--settings FILE] [--theme NAME] [--screen NAME|all] [--scale S] [-o DIR] [--explain]   the Music app's screens, stock and dark, as PNG files (and view trees); preview inspect SCREEN X Y: the views under a point"},
    {"studio", obscuro::cli::studioCommand, "studio [--screen NAME] [--port P] [--scale S]   the settings pages beside a live picture of the Music app (prints its address)"},
    {"theme", obscuro::cli::themeCommand, "theme from-image ART.png [--name NAME] [--write]   a readable theme from album art (JSON on stdout)"},
};

std::optional<std::filesystem::path> gChosenRoot;

std::string programUsage() {
    std::string usage = "usage: obscuro [--root DIR] SUBCOMMAND [ARGUMENTS...]\n"
                        "  --root DIR may stand anywhere: the device to work on (default: $OBSCURO_DEVICE_ROOT, else the device the build staged)\n";
    for (const auto& subcommand : kSubcommands) usage += std::string("  obscuro ") + subcommand.usage + "\n";
    return usage;
}

int usage() {
    std::fputs(programUsage().c_str(), stderr);
    return 2;
}

// --root belongs to the whole command line: the program and every (sub)command that does not pass
// what it does not know up to its parent accept it.
void addRootOption(CLI::App& app, std::string& root) {
    if (!app.get_fallthrough()) app.add_option("--root", root, "the device to work on")->type_name("DIR")->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    for (CLI::App* sub : app.get_subcommands([](CLI::App*) { return true; })) addRootOption(*sub, root);
}

bool rootGiven(const CLI::App& app) {
    if (app.get_option_no_throw("--root") && app.count("--root")) return true;
    for (const CLI::App* sub : app.get_subcommands())
        if (rootGiven(*sub)) return true;
    return false;
}

}  // namespace

namespace obscuro::cli {

std::filesystem::path deviceRoot() { return gChosenRoot ? *gChosenRoot : device::defaultRoot(); }

}  // namespace obscuro::cli

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    CLI::App app("obscuro", "obscuro");
    // An option given twice keeps its last value, as a later word on a command line overrides an earlier one.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    obscuro::cli::describeUsage(app, "obscuro", programUsage(), [](const CLI::App& where, const CLI::Error& error) -> std::optional<std::string> {
        std::string left = obscuro::cli::firstLeftOver(where);
        if (dynamic_cast<const CLI::ExtrasError*>(&error) && !left.empty() && !obscuro::cli::looksLikeOption(left)) return "unknown subcommand '" + left + "'";
        return std::nullopt;
    });
    app.require_subcommand(0, 1);
    std::vector<CLI::App*> commands;
    std::vector<Action> actions;
    for (const auto& subcommand : kSubcommands) {
        commands.push_back(app.add_subcommand(subcommand.name, subcommand.usage));
        actions.push_back(subcommand.declare(*commands.back()));
    }
    std::string root;
    addRootOption(app, root);

    // The chosen subcommand's usage answers --help and its words a fault.
    if (std::optional<int> stop = obscuro::cli::readCommandLine(app, argc, argv)) return *stop;
    if (app.get_subcommands().empty()) return usage();
    std::size_t index = std::find(commands.begin(), commands.end(), app.get_subcommands().front()) - commands.begin();
    if (rootGiven(app)) {
        if (root.empty()) {
            std::fputs("obscuro: --root needs a device folder\n", stderr);
            return usage();
        }
        gChosenRoot = root;
    }
    objc::AutoreleasePool pool;
    return actions[index]();
}
