// `obscuro scene run FILE.json [--explain] [--root DIR]`: runs one scene and prints its report as one JSON document.
#include "../commands.h"
#include "../device_folder.h"
#include "../option_pairs.h"
#include "SceneError.h"
#include "SceneRunner.h"

#include <objc/NSException.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

namespace obscuro::cli {

namespace {

constexpr const char* kUsage =
    "usage: obscuro scene run FILE.json [--explain] [--root DEVICE]\n"
    "  runs the scene in the simulated Music app on a private copy of the device and prints a JSON report\n";

int usageError(const std::string& message) {
    std::cerr << "obscuro scene: " << message << '\n' << kUsage;
    return 2;
}

}  // namespace

int sceneCommand(std::span<char* const> arguments) {
    std::vector<std::string_view> positional;
    scene::RunOptions options;
    if (asksForHelp(arguments)) return printHelp(kUsage);
    options.device = deviceRoot();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument == "--explain") {
            options.explain = true;
        } else if (argument.starts_with("--")) {
            return usageError("unknown option " + std::string(argument));
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.empty()) return usageError("missing action");
    if (positional[0] != "run") return usageError("unknown action '" + std::string(positional[0]) + "'");
    if (positional.size() != 2) return usageError("run takes one scene file");

    std::ifstream file{std::string(positional[1])};
    if (!file) return usageError("cannot read " + std::string(positional[1]));
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    nlohmann::ordered_json sceneJson;
    try {
        sceneJson = nlohmann::ordered_json::parse(text);
    } catch (const nlohmann::json::exception& error) {
        return usageError(std::string(positional[1]) + " is not JSON: " + error.what());
    }
    std::error_code error;
    if (!std::filesystem::is_directory(options.device, error))
        return usageError("there is no device at " + options.device.string() + " (build the default device, or name one with --root)");

    // The report is built whole before anything is printed, so a failing scene prints nothing on stdout.
    std::string report;
    try {
        report = scene::runScene(sceneJson, options).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    } catch (const scene::SceneError& failure) {
        std::cerr << "obscuro scene: " << failure.what() << '\n';
        return 2;
    } catch (const scene::RunFailure& failure) {
        std::cerr << "obscuro scene: " << failure.what() << '\n';
        return 1;
    } catch (const NSException& exception) {
        std::cerr << "obscuro scene: uncaught " << exception.name() << ": " << exception.reason() << '\n';
        return 1;
    } catch (const std::exception& failure) {
        std::cerr << "obscuro scene: " << failure.what() << '\n';
        return 1;
    }
    std::cout << report << '\n';
    std::cout.flush();
    return std::cout ? 0 : 1;
}

}  // namespace obscuro::cli
