// `obscuro preview`: the Music app's screens drawn stock and with the product, each variant in a fresh process, both at once.
#include "commands.h"
#include "device_folder.h"
#include "explain/InspectCommand.h"
#include "explain/ScreenExplainer.h"
#include "preview_coverage.h"
#include "preview_device.h"
#include "preview_frames.h"
#include "preview_progress.h"
#include "preview_settings.h"
#include "preview_writer.h"
#include "scene/TweakProbe.h"

#include <commandline/CommandLine.h>
#include <commandline/ScreenOption.h>

#include <QuartzCore/CALayer.h>
#include <UIKit/UIView.h>
#include <device/device.h>
#include <music/MusicApp.h>
#include <music/MusicClasses.h>
#include <render/ContactSheet.h>
#include <render/Renderer.h>
#include <screens/MusicScreens.h>
#include <substrate/TweakLoader.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
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
#include <thread>
#include <vector>

namespace obscuro::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: obscuro preview [--root DIR] [--settings FILE] [--theme NAME] [--screen NAME|all] [--scale S] [-o DIR] [--report FILE] [--explain]\n"
    "       obscuro preview inspect SCREEN X Y [--theme NAME | --settings FILE] [--json] [--root DIR]\n";

constexpr std::array<const char*, 2> kVariants = {"stock", "dark"};

struct PreviewOptions {
    fs::path root;
    std::optional<fs::path> settings;
    std::optional<std::string> theme;
    std::vector<std::string> screens;
    double scale = 3;
    fs::path output = "preview";
    std::optional<fs::path> report;
    bool explain = false;  // the view tree of each picture beside it, as NAME-VARIANT.json
    // Set in the drawing processes only.
    std::string variant;  // "stock" or "dark"
    fs::path settingsFile;  // the dark variant's settings property list, ready to install
    int framesFd = -1;  // where the drawn screens go
};

int usageError(const std::string& message) {
    std::fprintf(stderr, "obscuro preview: %s\n%s", message.c_str(), kUsage);
    return 2;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "obscuro preview: %s\n", message.c_str());
    return 1;
}

// The options as CLI11 read them, before they are checked together.
struct PreviewLine {
    std::string settings, theme, screen = "all", output = "preview", report, settingsFile;
};

// Declares the options; --variant, --settings-file and --frames-fd are for the drawing processes
// this command starts, so no usage shows them.
void declareOptions(CLI::App& command, PreviewOptions& options, PreviewLine& line) {
    command.add_option("--settings", line.settings)->type_name("FILE");
    command.add_option("--theme", line.theme)->type_name("NAME");
    command.add_option("--screen", line.screen)->check(musicScreen(true));
    command.add_option("--scale", options.scale)->check(drawingScale());
    command.add_option("-o,--output", line.output)->type_name("DIR");
    command.add_option("--report", line.report)->type_name("FILE");
    command.add_flag("--explain", options.explain);
    command.add_option("--variant", options.variant)->group("");
    command.add_option("--settings-file", line.settingsFile)->group("");
    command.add_option("--frames-fd", options.framesFd)->group("");
}

// Checks the options together; returns an exit status when they are wrong.
std::optional<int> settle(const CLI::App& command, const PreviewLine& line, PreviewOptions& options) {
    if (command.count("--settings")) options.settings = fs::path(line.settings);
    if (command.count("--theme")) options.theme = line.theme;
    if (command.count("--report")) options.report = fs::path(line.report);
    options.output = line.output;
    options.settingsFile = line.settingsFile;
    if (options.theme && options.theme->empty()) return usageError("--theme takes a theme name");
    if (options.report && options.report->empty()) return usageError("--report takes a file name");
    options.screens = line.screen == "all" ? music::screens::screenNames() : std::vector<std::string>{line.screen};
    options.root = deviceRoot();
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

// The contact sheet shows each screen at one point per pixel, or as near as whole pixels go.
int sheetShrink(double scale) { return std::max(1, static_cast<int>(scale)); }

// One variant in this process: a private device, the app started on it, the product loaded for
// the dark variant (the library installs its hooks once per process, hence a process per
// variant). Each screen is written as a PNG file here and handed back shrunk for the sheet, with
// the replacement counts it caused; a second thread encodes and writes one while the next is drawn.
int drawVariant(const PreviewOptions& options) {
    bool dark = options.variant == "dark";
    if (!dark && options.variant != "stock") return usageError("unknown variant " + options.variant);
    if (options.framesFd < 0) return usageError("a drawing process needs --frames-fd");
    try {
        SharedDevice device(options.root);
        if (dark) {
            fs::path target = device.root() / fs::path(kPreviewSettingsPath).relative_path();
            fs::create_directories(target.parent_path());
            fs::copy_file(options.settingsFile, target, fs::copy_options::overwrite_existing);
        }
        device::setRoot(device.root());
        music::startMusicApp();
        music::registerMusicClasses();
        std::optional<scene::TweakProbe> probe;
        if (dark) {
            platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName);
            probe = scene::TweakProbe::find();
            try {
                if (probe) probe->takeHookCalls();  // what ran while the library loaded belongs to no screen
            } catch (const std::runtime_error& unanswered) {
                // A library that does not count its replacements still gives the pictures.
                std::fprintf(stderr, "obscuro preview: %s\n", unanswered.what());
                probe.reset();
            }
        }
        std::optional<explain::ScreenExplainer> explainer;
        if (options.explain) explainer.emplace();
        ScreenWriter writer(options.framesFd, sheetShrink(options.scale));
        for (const std::string& screen : options.screens) {
            DrawnScreen drawn{screen, {}, std::nullopt};
            render::DrawnPixels pixels;
            {
                objc::AutoreleasePool pool;
                if (explainer) explainer->beginScreen();
                objc::Strong<objc_object> window = music::screens::showScreen(screen);
                pixels = render::drawPixels(static_cast<UIView*>(window.get()), options.scale);
                if (explainer) {
                    // The description reads getters; those calls are not the screen's.
                    if (probe) drawn.calls = hookCallsFromReply(probe->takeHookCalls());
                    writeTree(explainer->describe(static_cast<UIView*>(window.get())), treePath(options, screen, options.variant));
                    if (probe) probe->takeHookCalls();
                }
                msg<void>(window.get(), sel<"setHidden:">(), true);
            }
            if (probe && !explainer) drawn.calls = hookCallsFromReply(probe->takeHookCalls());
            writer.write(picturePath(options, screen, options.variant), std::move(drawn), std::move(pixels));
        }
        writer.finish();
    } catch (const std::exception& problem) {
        return failure(problem.what());
    }
    return 0;
}

// A drawing process started for one variant, and the screens it handed back.
struct DrawingProcess {
    pid_t pid = -1;
    int frames = -1;  // the read end of its pipe
    std::vector<DrawnScreen> screens;
    std::string problem;  // what went wrong reading its screens
};

// Runs this program again for one variant, its screens coming back through a pipe.
bool startVariant(const PreviewOptions& options, const std::string& variant, const fs::path& settingsFile, DrawingProcess* process) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return false;
    std::vector<std::string> args = {"obscuro", "preview", "--variant", variant, "--root", options.root.string(),
                                     "--settings-file", settingsFile.string(), "--scale", std::to_string(options.scale),
                                     "-o", options.output.string(), "--screen", options.screens.size() == 1 ? options.screens[0] : "all",
                                     "--frames-fd", std::to_string(ends[1])};
    if (options.explain) args.push_back("--explain");
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::fflush(nullptr);
    pid_t child = fork();
    if (child < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    if (child == 0) {
        // Only the write end of its own pipe outlives exec; every other pipe end is close-on-exec.
        ::fcntl(ends[1], F_SETFD, 0);
        execv("/proc/self/exe", argv.data());
        std::fprintf(stderr, "obscuro preview: cannot start a drawing process: %s\n", std::strerror(errno));
        _exit(127);
    }
    ::close(ends[1]);
    process->pid = child;
    process->frames = ends[0];
    return true;
}

// Takes the process's screens until it closes its pipe. On a bad screen the pipe is closed
// early, so that a process still writing ends instead of waiting for a reader.
void receiveScreens(DrawingProcess* process, PreviewProgress* progress, int variant) {
    try {
        while (std::optional<DrawnScreen> drawn = receiveDrawnScreen(process->frames)) {
            process->screens.push_back(std::move(*drawn));
            progress->screenDrawn(variant);
        }
    } catch (const std::runtime_error& problem) {
        process->problem = problem.what();
    }
    ::close(process->frames);
    process->frames = -1;
}

bool exitedCleanly(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Removes the file it names when it goes away.
struct ScratchFile {
    fs::path path;
    ~ScratchFile() {
        std::error_code ignored;
        if (!path.empty()) fs::remove(path, ignored);
    }
};

bool writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush();
}

// The report goes in beside its final name and is renamed over it, so a reader never finds half of one.
bool writeReport(const fs::path& path, const HookCoverage& coverage) {
    fs::path partial = path;
    partial += ".partial";
    ScratchFile scratch{partial};
    if (!writeFile(partial, coverage.report().dump(2) + "\n")) return false;
    std::error_code error;
    fs::rename(partial, path, error);
    return !error;
}

// Both variants drawn at once; their screens in the order asked for, or the reason they are not.
std::optional<std::string> drawBoth(const PreviewOptions& options, const fs::path& settingsFile, std::array<DrawingProcess, 2>& processes) {
    PreviewProgress progress(stderr, ::isatty(STDERR_FILENO) == 1, int(options.screens.size()), int(kVariants.size()));
    std::optional<std::string> problem;
    // Both processes start before any reader thread does, so that neither fork copies a lock a thread holds.
    for (std::size_t v = 0; v < kVariants.size() && !problem; ++v)
        if (!startVariant(options, kVariants[v], settingsFile, &processes[v]))
            problem = std::string("cannot start drawing the ") + kVariants[v] + " screens";
    std::vector<std::thread> readers;
    for (std::size_t v = 0; v < kVariants.size(); ++v)
        if (processes[v].pid >= 0) readers.emplace_back(receiveScreens, &processes[v], &progress, int(v));
    for (std::thread& reader : readers) reader.join();
    progress.finish();
    for (std::size_t v = 0; v < kVariants.size(); ++v) {
        DrawingProcess& process = processes[v];
        if (process.pid < 0) continue;
        bool clean = exitedCleanly(process.pid);
        if (problem) continue;
        if (!process.problem.empty()) problem = "drawing the " + std::string(kVariants[v]) + " screens failed: " + process.problem;
        else if (!clean) problem = "drawing the " + std::string(kVariants[v]) + " screens failed";
        else if (process.screens.size() != options.screens.size() ||
                 !std::equal(options.screens.begin(), options.screens.end(), process.screens.begin(),
                             [](const std::string& asked, const DrawnScreen& drawn) { return asked == drawn.screen; }))
            problem = "the " + std::string(kVariants[v]) + " process did not draw the screens asked for";
    }
    return problem;
}

int preview(PreviewOptions& options) {
    if (!options.variant.empty()) return drawVariant(options);

    if (!fs::is_directory(options.root)) return usageError("no device at " + options.root.string());
    std::string settings;
    try {
        settings = previewSettingsXml(options.settings, options.theme);
    } catch (const std::runtime_error& problem) {
        return usageError(problem.what());
    }
    std::error_code error;
    fs::create_directories(options.output, error);
    if (error || !fs::is_directory(options.output)) return usageError("cannot make the folder " + options.output.string());

    ScratchFile scratch{options.output / ".preview-settings.plist"};
    if (!writeFile(scratch.path, settings)) return failure("cannot write " + scratch.path.string());

    std::array<DrawingProcess, 2> processes;
    if (std::optional<std::string> problem = drawBoth(options, scratch.path, processes)) return failure(*problem);

    HookCoverage coverage;
    std::vector<std::vector<const render::Picture*>> rows(kVariants.size());
    for (std::size_t v = 0; v < kVariants.size(); ++v) {
        for (const DrawnScreen& drawn : processes[v].screens) {
            rows[v].push_back(&drawn.thumbnail);
            coverage.record(kVariants[v], drawn.screen, drawn.calls.value_or(std::vector<HookCalls>{}));
            std::printf("%s\n", picturePath(options, drawn.screen, kVariants[v]).c_str());
            if (options.explain) std::printf("%s\n", treePath(options, drawn.screen, kVariants[v]).c_str());
        }
    }
    fs::path sheetPath = options.output / "contact-sheet.png";
    try {
        render::writePNG(render::contactSheet(rows, 24, 1), sheetPath);
    } catch (const std::runtime_error& problem) {
        return failure(problem.what());
    }
    std::printf("%s\n", sheetPath.c_str());

    bool counted = std::any_of(processes[1].screens.begin(), processes[1].screens.end(), [](const DrawnScreen& d) { return d.calls.has_value(); });
    if (counted) std::printf("%zu of %zu replacements ran\n", coverage.entriesThatRan("dark"), coverage.entries());
    else std::fprintf(stderr, "obscuro preview: no replacement counts: the product was not loaded or does not count its replacements\n");
    if (options.report) {
        if (!writeReport(*options.report, coverage)) return failure("cannot write the report " + options.report->string());
        std::printf("%s\n", options.report->c_str());
    }
    return 0;
}

}  // namespace

Action previewCommand(CLI::App& command) {
    describeUsage(command, "obscuro preview", kUsage);
    auto options = std::make_shared<PreviewOptions>();
    auto line = std::make_shared<PreviewLine>();
    declareOptions(command, *options, *line);
    Action inspect = inspectCommand(*command.add_subcommand("inspect", "the views under a point"));
    return [&command, options, line, inspect]() -> int {
        if (command.got_subcommand("inspect")) {
            // Options before "inspect" are the preview's, which draws nothing when inspecting.
            for (const CLI::Option* option : command.get_options())
                if (option->count() && option->get_name() != "--root") return usageError(option->get_name() + " is not an option of inspect");
            return inspect();
        }
        if (auto status = settle(command, *line, *options)) return *status;
        return preview(*options);
    };
}

}  // namespace obscuro::cli
