// The `obscuro` command line: one parser for the options every subcommand shares, then the subcommand named.
#include "commands.h"

#include <device/device.h>
#include <objc/Strong.h>

#include <CLI/CLI.hpp>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Subcommand {
    const char* name;
    obscuro::cli::Command run;
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

void printUsage(std::FILE* to) {
    std::fputs("usage: obscuro [--root DIR] SUBCOMMAND [ARGUMENTS...]\n"
               "  --root DIR may stand anywhere: the device to work on (default: $OBSCURO_DEVICE_ROOT, else the device the build staged)\n",
               to);
    for (const auto& subcommand : kSubcommands) std::fprintf(to, "  obscuro %s\n", subcommand.usage);
}

int usage() {
    printUsage(stderr);
    return 2;
}

// --root belongs to the whole command line, so the program and each subcommand accept it.
void addRootOption(CLI::App& app, std::string& root) {
    app.add_option("--root", root, "the device to work on")->type_name("DIR")->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

}  // namespace

namespace obscuro::cli {

std::filesystem::path deviceRoot() { return gChosenRoot ? *gChosenRoot : device::defaultRoot(); }

}  // namespace obscuro::cli

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    CLI::App app("obscuro", "obscuro");
    app.allow_extras();
    app.require_subcommand(0, 1);
    std::string root;
    addRootOption(app, root);
    std::vector<CLI::App*> subcommands;
    for (const auto& subcommand : kSubcommands) {
        CLI::App* parser = app.add_subcommand(subcommand.name, subcommand.usage);
        // Everything a subcommand does not share is its own to read, in the order given; --help
        // and -h included, so that each answers with its own usage.
        parser->set_help_flag();
        parser->allow_extras();
        addRootOption(*parser, root);
        subcommands.push_back(parser);
    }

    bool help = false;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        help = true;
    } catch (const CLI::ParseError& error) {
        std::fprintf(stderr, "obscuro: %s\n", error.what());
        return usage();
    }
    for (std::size_t i = 0; i < subcommands.size(); ++i) {
        if (!subcommands[i]->parsed()) continue;
        std::vector<std::string> rest = subcommands[i]->remaining();
        if (help) rest.emplace_back("--help");
        if (subcommands[i]->count("--root") || app.count("--root")) {
            if (root.empty()) {
                std::fputs("obscuro: --root needs a device folder\n", stderr);
                return usage();
            }
            gChosenRoot = root;
        }
        std::vector<char*> arguments;
        for (auto& argument : rest) arguments.push_back(argument.data());
        objc::AutoreleasePool pool;
        return kSubcommands[i].run(std::span<char* const>(arguments.data(), arguments.size()));
    }
    if (help) {
        printUsage(stdout);
        return 0;
    }
    std::vector<std::string> rest = app.remaining();
    if (rest.empty()) return usage();
    std::fprintf(stderr, "obscuro: unknown subcommand '%s'\n", rest.front().c_str());
    return usage();
}
