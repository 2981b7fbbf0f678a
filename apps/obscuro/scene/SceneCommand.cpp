// `obscuro scene run FILE.json [--explain] [--root DIR]`: runs one scene and prints its report as one JSON document.
#include "../commands.h"
#include "../device_folder.h"
#include "SceneError.h"
#include "SceneRunner.h"

#include <commandline/CommandLine.h>

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

int runSceneFile(const std::string& path, scene::RunOptions options) {
    std::ifstream file{path};
    if (!file) return usageError("cannot read " + path);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    nlohmann::ordered_json sceneJson;
    try {
        sceneJson = nlohmann::ordered_json::parse(text);
    } catch (const nlohmann::json::exception& error) {
        return usageError(path + " is not JSON: " + error.what());
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

}  // namespace

Action sceneCommand(CLI::App& command) {
    describeUsage(command, "obscuro scene", kUsage, [&command](const CLI::App& where, const CLI::Error& error) {
        return actionCountProblem(command, where, error, "action", [](const CLI::App&) { return "run takes one scene file"; });
    });
    command.require_subcommand(1);
    auto options = std::make_shared<scene::RunOptions>();
    auto path = std::make_shared<std::string>();
    command.add_flag("--explain", options->explain);
    // --explain may stand before "run" as well as after it.
    command.add_subcommand("run")->fallthrough()->add_option("FILE.json", *path)->required();
    return [options, path] {
        options->device = deviceRoot();
        return runSceneFile(*path, *options);
    };
}

}  // namespace obscuro::cli
