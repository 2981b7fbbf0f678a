// `obscuro preview inspect SCREEN X Y`: the views under a point of a screen drawn with the product, and the decisions behind their colours.
#include "InspectCommand.h"

#include "../commands.h"
#include "../device_folder.h"
#include "../preview_settings.h"
#include "ScreenExplainer.h"
#include "ViewTreeQuery.h"

#include <commandline/CommandLine.h>
#include <commandline/ScreenOption.h>

#include <UIKit/UIView.h>
#include <device/device.h>
#include <music/MusicApp.h>
#include <music/MusicClasses.h>
#include <objc/Strong.h>
#include <render/Renderer.h>
#include <screens/MusicScreens.h>
#include <substrate/TweakLoader.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace obscuro::cli {

namespace {

namespace fs = std::filesystem;
using nlohmann::ordered_json;

constexpr const char* kUsage =
    "usage: obscuro preview inspect SCREEN X Y [--theme NAME | --settings FILE] [--json] [--root DIR]\n"
    "  X Y in points from the window's top left corner\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "obscuro preview inspect: %s\n%s", message.c_str(), kUsage);
    return 2;
}

std::optional<double> coordinate(std::string_view field) {
    double value = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

struct InspectOptions {
    std::string screen;
    double x = 0, y = 0;
    fs::path root;
    std::optional<fs::path> settings;
    std::optional<std::string> theme;
    bool json = false;
};

// The arguments as CLI11 read them, before they are checked together.
struct InspectLine {
    std::string x, y, settings, theme;
};

void declareArguments(CLI::App& command, InspectOptions& options, InspectLine& line) {
    command.add_option("SCREEN", options.screen)->required()->check(musicScreen());
    command.add_option("X", line.x)->required();
    command.add_option("Y", line.y)->required();
    command.add_option("--settings", line.settings)->type_name("FILE");
    command.add_option("--theme", line.theme)->type_name("NAME");
    command.add_flag("--json", options.json);
}

// Checks the arguments together; returns an exit status when they are wrong.
std::optional<int> settle(const CLI::App& command, const InspectLine& line, InspectOptions& options) {
    auto x = coordinate(line.x), y = coordinate(line.y);
    if (!x || !y) return usageError("X and Y are numbers of points");
    options.x = *x;
    options.y = *y;
    if (options.x < 0 || options.y < 0 || options.x >= music::screens::kWindowWidth || options.y >= music::screens::kWindowHeight)
        return usageError("the point lies outside the window (" + std::to_string(int(music::screens::kWindowWidth)) + " × " +
                          std::to_string(int(music::screens::kWindowHeight)) + " points)");
    if (command.count("--settings")) options.settings = fs::path(line.settings);
    if (command.count("--theme")) options.theme = line.theme;
    if (options.theme && options.theme->empty()) return usageError("--theme takes a theme name");
    if (options.theme && options.settings) return usageError("give --theme or --settings, not both");
    options.root = deviceRoot();
    if (!fs::is_directory(options.root)) return usageError("no device at " + options.root.string());
    return std::nullopt;
}

// The dark variant's tree of the screen, drawn in this process on a private copy of the device.
ordered_json darkTree(const InspectOptions& options, const std::string& settings) {
    TemporaryDevice device(options.root);
    fs::path target = device.root() / fs::path(kPreviewSettingsPath).relative_path();
    fs::create_directories(target.parent_path());
    {
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        if (!(out << settings) || !out.flush()) throw std::runtime_error("cannot write the settings into " + target.string());
    }
    device::setRoot(device.root());
    music::startMusicApp();
    music::registerMusicClasses();
    platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName);
    explain::ScreenExplainer explainer;
    objc::AutoreleasePool pool;
    explainer.beginScreen();
    objc::Strong<objc_object> window = music::screens::showScreen(options.screen);
    auto* root = static_cast<UIView*>(window.get());
    // Drawing asks its own questions (text colours, tints, custom drawing): they count.
    render::renderView(root, 1);
    ordered_json tree = explainer.describe(root);
    msg<void>(window.get(), sel<"setHidden:">(), true);
    return tree;
}

int inspect(const InspectOptions& options) {
    std::string settings;
    try {
        settings = previewSettingsXml(options.settings, options.theme);
    } catch (const std::runtime_error& failure) {
        return usageError(failure.what());
    }
    ordered_json tree;
    try {
        tree = darkTree(options, settings);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "obscuro preview inspect: %s\n", failure.what());
        return 1;
    }
    std::vector<ordered_json> views = explain::viewsAt(tree, options.x, options.y);
    if (options.json) {
        ordered_json out = {{"screen", options.screen}, {"point", {options.x, options.y}}, {"views", views}};
        std::printf("%s\n", out.dump(2).c_str());
        return 0;
    }
    std::printf("%s at (%g, %g), topmost first:\n", options.screen.c_str(), options.x, options.y);
    for (const ordered_json& view : views) std::printf("%s", explain::describeView(view).c_str());
    return 0;
}

}  // namespace

Action inspectCommand(CLI::App& command) {
    describeUsage(command, "obscuro preview inspect", kUsage, [](const CLI::App&, const CLI::Error& error) -> std::optional<std::string> {
        if (dynamic_cast<const CLI::RequiredError*>(&error)) return "SCREEN, X and Y are needed";
        return std::nullopt;
    });
    auto options = std::make_shared<InspectOptions>();
    auto line = std::make_shared<InspectLine>();
    declareArguments(command, *options, *line);
    return [&command, options, line]() -> int {
        if (auto status = settle(command, *line, *options)) return *status;
        return inspect(*options);
    };
}

}  // namespace obscuro::cli
