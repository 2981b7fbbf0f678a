// `obscuro preview`: the Music app's screens drawn stock and with the product, each variant in a fresh process.
#include "commands.h"
#include "device_folder.h"
#include "explain/InspectCommand.h"
#include "explain/ScreenExplainer.h"
#include "option_pairs.h"
#include "preview_settings.h"

#include <QuartzCore/CALayer.h>
#include <UIKit/UIView.h>
#include <device/device.h>
#include <music/MusicApp.h>
#include <music/MusicClasses.h>
#include <render/Renderer.h>
#include <screens/MusicScreens.h>
#include <substrate/TweakLoader.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace obscuro::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: obscuro preview [--root DIR] [--settings FILE] [--theme NAME] [--screen NAME|all] [--scale S] [-o DIR] [--explain]\n"
    "       obscuro preview inspect SCREEN X Y [--theme NAME | --settings FILE] [--json] [--root DIR]\n";

struct PreviewOptions {
    fs::path root;
    std::optional<fs::path> settings;
    std::optional<std::string> theme;
    std::vector<std::string> screens;
    double scale = 3;
    fs::path output = "preview";
    bool explain = false;  // the view tree of each picture beside it, as NAME-VARIANT.json
    std::string variant;  // set in the child processes: "stock" or "dark"
    fs::path settingsFile;  // the child's settings property list, ready to install
};

int usageError(const std::string& message) {
    std::fprintf(stderr, "obscuro preview: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// Parses the arguments; returns an exit status when they are wrong.
std::optional<int> parse(std::span<char* const> arguments, PreviewOptions& options) {
    std::string screen = "all";
    std::vector<char*> pairs;
    for (char* argument : arguments) {
        if (std::string_view(argument) == "--explain") options.explain = true;
        else pairs.push_back(argument);
    }
    std::optional<int> ended = readOptionPairs(pairs, kUsage, usageError, [&](const std::string& flag, const std::string& value) -> OptionProblem {
        if (flag == "--root") options.root = value;
        else if (flag == "--settings") options.settings = fs::path(value);
        else if (flag == "--theme") options.theme = value;
        else if (flag == "--screen") screen = value;
        else if (flag == "-o" || flag == "--output") options.output = value;
        else if (flag == "--variant") options.variant = value;
        else if (flag == "--settings-file") options.settingsFile = value;
        else if (flag == "--scale") return readScale(value, &options.scale);
        else return "unknown option " + flag;
        return std::nullopt;
    });
    if (ended) return *ended;
    if (options.theme && options.theme->empty()) return usageError("--theme takes a theme name");
    if (screen == "all") options.screens = music::screens::screenNames();
    else if (OptionProblem unknown = knownScreen(screen)) return usageError(*unknown);
    else options.screens = {screen};
    if (options.root.empty()) options.root = defaultDeviceRoot();
    return std::nullopt;
}

fs::path picturePath(const PreviewOptions& options, const std::string& screen, const std::string& variant) {
    return options.output / (screen + "-" + variant + ".png");
}

fs::path treePath(const PreviewOptions& options, const std::string& screen, const std::string& variant) {
    return options.output / (screen + "-" + variant + ".json");
}

void writeTree(const nlohmann::ordered_json& tree, const fs::path& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!(out << tree.dump(1) << '\n') || !out.flush()) throw std::runtime_error("cannot write " + path.string());
}

// One variant in this process: a private device, the app started on it, the product loaded for
// the dark variant (the library installs its hooks once per process, hence a process per variant).
int drawVariant(const PreviewOptions& options) {
    bool dark = options.variant == "dark";
    if (!dark && options.variant != "stock") return usageError("unknown variant " + options.variant);
    try {
        TemporaryDevice device(options.root);
        if (dark) {
            fs::path target = device.root() / fs::path(kPreviewSettingsPath).relative_path();
            fs::create_directories(target.parent_path());
            fs::copy_file(options.settingsFile, target, fs::copy_options::overwrite_existing);
        }
        device::setRoot(device.root());
        music::startMusicApp();
        music::registerMusicClasses();
        if (dark) platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName);
        std::optional<explain::ScreenExplainer> explainer;
        if (options.explain) explainer.emplace();
        for (const std::string& screen : options.screens) {
            objc::AutoreleasePool pool;
            if (explainer) explainer->beginScreen();
            objc::Strong<objc_object> window = music::screens::showScreen(screen);
            render::Picture picture = render::renderView(static_cast<UIView*>(window.get()), options.scale);
            render::writePNG(picture, picturePath(options, screen, options.variant));
            if (explainer) writeTree(explainer->describe(static_cast<UIView*>(window.get())), treePath(options, screen, options.variant));
            msg<void>(window.get(), sel<"setHidden:">(), true);
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "obscuro preview: %s\n", failure.what());
        return 1;
    }
    return 0;
}

// Runs this program again for one variant and waits for it.
bool runVariant(const PreviewOptions& options, const std::string& variant, const fs::path& settingsFile) {
    std::vector<std::string> args = {"obscuro", "preview", "--variant", variant, "--root", options.root.string(),
                                     "--settings-file", settingsFile.string(), "--scale", std::to_string(options.scale),
                                     "-o", options.output.string(), "--screen", options.screens.size() == 1 ? options.screens[0] : "all"};
    if (options.explain) args.push_back("--explain");
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::fflush(nullptr);
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        execv("/proc/self/exe", argv.data());
        std::fprintf(stderr, "obscuro preview: cannot start a drawing process: %s\n", std::strerror(errno));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Removes the settings file it names when it goes away.
struct ScratchFile {
    fs::path path;
    ~ScratchFile() {
        std::error_code ignored;
        if (!path.empty()) fs::remove(path, ignored);
    }
};

}  // namespace

int previewCommand(std::span<char* const> arguments) {
    if (!arguments.empty() && std::string_view(arguments[0]) == "inspect") return inspectCommand(arguments.subspan(1));
    PreviewOptions options;
    if (auto status = parse(arguments, options)) return *status;
    if (!options.variant.empty()) return drawVariant(options);

    if (!fs::is_directory(options.root)) return usageError("no device at " + options.root.string());
    std::string settings;
    try {
        settings = previewSettingsXml(options.settings, options.theme);
    } catch (const std::runtime_error& failure) {
        return usageError(failure.what());
    }
    std::error_code error;
    fs::create_directories(options.output, error);
    if (error || !fs::is_directory(options.output)) return usageError("cannot make the folder " + options.output.string());

    ScratchFile scratch{options.output / ".preview-settings.plist"};
    {
        std::ofstream out(scratch.path, std::ios::binary | std::ios::trunc);
        if (!(out << settings) || !out.flush()) {
            std::fprintf(stderr, "obscuro preview: cannot write %s\n", scratch.path.c_str());
            return 1;
        }
    }
    for (const char* variant : {"stock", "dark"}) {
        if (!runVariant(options, variant, scratch.path)) {
            std::fprintf(stderr, "obscuro preview: drawing the %s screens failed\n", variant);
            return 1;
        }
    }

    std::vector<render::Picture> pictures;
    pictures.reserve(options.screens.size() * 2);
    std::vector<std::vector<const render::Picture*>> rows(2);
    for (int row = 0; row < 2; ++row) {
        for (const std::string& screen : options.screens) {
            fs::path path = picturePath(options, screen, row ? "dark" : "stock");
            pictures.push_back(render::readPNG(path));
            rows[row].push_back(&pictures.back());
            std::printf("%s\n", path.c_str());
            if (options.explain) std::printf("%s\n", treePath(options, screen, row ? "dark" : "stock").c_str());
        }
    }
    fs::path sheetPath = options.output / "contact-sheet.png";
    try {
        render::writePNG(render::contactSheet(rows, 24, std::max(1, static_cast<int>(options.scale))), sheetPath);
    } catch (const std::runtime_error& failure) {
        std::fprintf(stderr, "obscuro preview: %s\n", failure.what());
        return 1;
    }
    std::printf("%s\n", sheetPath.c_str());
    return 0;
}

}  // namespace obscuro::cli
