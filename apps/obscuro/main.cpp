// The `obscuro` command line: dispatches to the subcommand named by the first argument.
#include "commands.h"

#include <objc/Strong.h>

#include <cstdio>
#include <cstring>

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
    {"preview", obscuro::cli::previewCommand, "preview [--root DIR] [--settings FILE] [--theme NAME] [--screen NAME|all] [--scale S] [-o DIR] [--explain]   the Music app's screens, stock and dark, as PNG files (and view trees); preview inspect SCREEN X Y: the views under a point"},
    {"studio", obscuro::cli::studioCommand, "studio [--root DIR] [--screen NAME] [--port P] [--scale S]   the settings pages beside a live picture of the Music app (prints its address)"},
    {"theme", obscuro::cli::themeCommand, "theme from-image ART.png [--name NAME] [--write] [--root DIR]   a readable theme from album art (JSON on stdout)"},
};

int usage() {
    std::fputs("usage: obscuro SUBCOMMAND [ARGUMENTS...]\n", stderr);
    for (const auto& subcommand : kSubcommands) std::fprintf(stderr, "  obscuro %s\n", subcommand.usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    for (const auto& subcommand : kSubcommands) {
        if (std::strcmp(argv[1], subcommand.name) == 0) {
            objc::AutoreleasePool pool;
            return subcommand.run(std::span<char* const>(argv + 2, static_cast<std::size_t>(argc - 2)));
        }
    }
    std::fprintf(stderr, "obscuro: unknown subcommand '%s'\n", argv[1]);
    return usage();
}
