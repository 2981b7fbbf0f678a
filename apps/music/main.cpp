// obscuro-music: the simulated Music app. Loads the tweaks of a device as the phone would and reports what they did.
#include "src/LivePicture.h"
#include "src/ThemeStateReport.h"
#include "src/TweakLoadRecord.h"

#include "explain/ScreenExplainer.h"

#include <commandline/CommandLine.h>
#include <commandline/ScreenOption.h>

#include <CoreFoundation/CFNotificationCenter.h>
#include <CoreFoundation/RunLoop.h>
#include <device/device.h>
#include <music/MusicApp.h>
#include <music/MusicClasses.h>
#include <objc/Strong.h>
#include <screens/MusicScreens.h>
#include <substrate/TweakLoader.h>

#include <fcntl.h>
#include <sys/inotify.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>

namespace {

constexpr const char* kTweakFolder = "/Library/MobileSubstrate/DynamicLibraries/";
// What the product's settings pages post after every change; a loaded tweak reloads on it.
constexpr const char* kSettingsChanged = "com.tarnwick.obscurosettings/settingschanged";

struct Options {
    std::filesystem::path root;
    bool serve = false;
    bool explain = false;
    std::set<std::string> absent;
    std::string screen;
    std::filesystem::path picture;
    double scale = 2;
};

std::string usage() {
    return std::string("usage: obscuro-music [--root DIR] [--absent CLASS]... [--screen NAME --picture FILE [--scale S] [--explain]] [--serve]\n"
                       "  --root DIR      the device to run on (default: $OBSCURO_DEVICE_ROOT, else the device the build staged)\n"
                       "  --absent CLASS  start as an app version without this Music class (dotted or runtime name)\n"
                       "  --screen NAME   show this screen of the app and draw it to --picture FILE (a PNG, replaced\n"
                       "                  whole) at --scale S (default 2), again after each settings change; FILE.screen,\n"
                       "                  when it exists and whenever it is replaced, names the screen to show instead\n"
                       "  --explain       also describe each picture's views and the decisions behind their colours in\n"
                       "                  FILE.json, put in place whole after each picture (a \"Described\" line follows)\n"
                       "  --serve         keep the main run loop going until interrupted, and show ThemeState after\n"
                       "                  each settings-changed notification (") +
           kSettingsChanged + ")\n";
}

// A fault in how the options go together, which CLI11 does not see, in the words of the faults it sees.
std::nullopt_t usageFailure(const std::string& message, int& exitCode) {
    std::fprintf(stderr, "obscuro-music: %s\n%s", message.c_str(), usage().c_str());
    exitCode = 2;
    return std::nullopt;
}

// nullopt after printing the reason (or the help); `exitCode` says how to leave.
std::optional<Options> parseOptions(int argc, char** argv, int& exitCode) {
    Options options;
    CLI::App line("obscuro-music", "obscuro-music");
    // An option given twice keeps its last value, as a later word on a command line overrides an earlier one.
    line.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    obscuro::cli::describeUsage(line, "obscuro-music", usage());
    line.add_option("--root", options.root)->check(obscuro::cli::nonEmpty("--root"));
    // One class a word, --absent given again for the next: a second word is not taken as a class.
    line.add_option("--absent", options.absent)
        ->check(obscuro::cli::nonEmpty("--absent"))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->expected(1)
        ->allow_extra_args(false);
    line.add_option("--screen", options.screen)->check(obscuro::cli::nonEmpty("--screen"))->check(obscuro::cli::musicScreen());
    line.add_option("--picture", options.picture)->check(obscuro::cli::nonEmpty("--picture"));
    line.add_option("--scale", options.scale)->check(obscuro::cli::nonEmpty("--scale"))->check(obscuro::cli::drawingScale());
    line.add_flag("--explain", options.explain);
    line.add_flag("--serve", options.serve);
    if (std::optional<int> stop = obscuro::cli::readCommandLine(line, argc, argv)) {
        exitCode = *stop;
        return std::nullopt;
    }
    if (options.screen.empty() != options.picture.empty()) return usageFailure("--screen and --picture go together", exitCode);
    if (options.explain && options.picture.empty()) return usageFailure("--explain describes the --picture", exitCode);
    if (options.root.empty()) options.root = device::defaultRoot();
    return options;
}

bool isMusicClass(const std::string& name) {
    for (const auto& musicClass : music::musicClasses())
        if (name == musicClass.name || name == music::runtimeName(musicClass)) return true;
    return false;
}

// The loader opens tweaks with local symbols; the phone's loader makes them global, which is
// how other code finds what a tweak exports. Reopening a loaded library changes only its scope.
void makeSymbolsGlobal(const std::vector<std::string>& loaded) {
    for (const auto& name : loaded) device::dlopen((kTweakFolder + name + ".dylib").c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_GLOBAL);
}

std::string deviceFileState(const std::string& devicePath) {
    auto hostPath = device::resolve(devicePath);
    if (!hostPath) return " (refused)";
    std::error_code error;
    if (std::filesystem::is_directory(*hostPath, error)) return " (folder)";
    return std::filesystem::exists(*hostPath, error) ? "" : " (missing)";
}

void printDevicePaths(const music::TweakLoadRecord& record, const char* indent) {
    std::printf("%sDevice files used (%zu):\n", indent, record.devicePaths.size());
    for (const auto& path : record.devicePaths) std::printf("%s  %s%s\n", indent, path.c_str(), deviceFileState(path).c_str());
}

void printHooks(const music::TweakLoadRecord& record) {
    std::size_t installed = 0;
    for (const auto& hook : record.hooks) installed += hook.installed;
    std::printf("Methods replaced (%zu):\n", installed);
    for (const auto& hook : record.hooks)
        if (hook.installed) std::printf("  %c[%s %s]\n", hook.classSide ? '+' : '-', hook.className.c_str(), hook.selector.c_str());
    if (installed == record.hooks.size()) return;
    std::printf("Hooks not installed (%zu):\n", record.hooks.size() - installed);
    for (const auto& hook : record.hooks)
        if (!hook.installed) std::printf("  %c[%s %s]\n", hook.classSide ? '+' : '-', hook.className.c_str(), hook.selector.c_str());
}

void printRecord(const platform::TweakLoadReport& report, const music::TweakLoadRecord& record) {
    auto loaded = report.loaded();
    std::printf("Tweak libraries loaded (%zu):\n", loaded.size());
    for (const auto& name : loaded) std::printf("  %s%s.dylib\n", kTweakFolder, name.c_str());
    for (const auto& entry : report.entries)
        if (entry.outcome != platform::TweakLoadEntry::Outcome::Loaded)
            std::printf("  not loaded: %s (%s)\n", entry.name.c_str(), entry.detail.c_str());
    printHooks(record);
    std::printf("Classes looked up in vain (%zu):\n", record.classesAbsent.size());
    for (const auto& name : record.classesAbsent) std::printf("  %s\n", name.c_str());
    printDevicePaths(record, "");
}

void printThemeState() {
    objc::AutoreleasePool pool;
    auto members = music::readThemeState();
    if (members.empty()) {
        std::printf("ThemeState: not exported by any loaded library\n");
        return;
    }
    std::printf("ThemeState:\n");
    for (const auto& member : members) std::printf("  %-17s %s\n", member.name.c_str(), member.value.c_str());
}

// --- Serving: the main run loop until SIGINT or SIGTERM ---------------------------------------

int gSignalPipe[2] = {-1, -1};
// Records what the tweaks do between two settings changes: the reload's file reads above all.
std::optional<music::TweakLoadRecorder> gRecorder;
int gChanges = 0;
// The screen kept drawn, when the host was asked for one.
std::optional<music::LivePicture> gPicture;
std::optional<obscuro::explain::ScreenExplainer> gExplainer;

// FILE.screen beside the picture: a watcher names the screen it wants there, replacing the file whole.
std::filesystem::path screenRequestFile() { return std::filesystem::path(gPicture->file()) += ".screen"; }

// The screen the request file names, when it names one.
std::optional<std::string> requestedScreen() {
    std::ifstream in(screenRequestFile());
    std::string name;
    if (!std::getline(in, name)) return std::nullopt;
    auto screens = music::screens::screenNames();
    if (std::find(screens.begin(), screens.end(), name) == screens.end()) {
        std::fprintf(stderr, "obscuro-music: %s names no screen: %s\n", screenRequestFile().c_str(), name.c_str());
        return std::nullopt;
    }
    return name;
}

// FILE.json beside the picture: its views and the decisions behind their colours. Described
// after the picture is announced, so a watcher's picture does not wait for it; the library keeps
// what it recorded until it is taken, and the window stays until the next painting.
void describePicture() {
    objc::AutoreleasePool pool;
    std::filesystem::path file = std::filesystem::path(gPicture->file()) += ".json";
    std::filesystem::path partial = std::filesystem::path(file) += ".partial-" + std::to_string(::getpid());
    std::string text = gExplainer->describe(gPicture->window()).dump() + "\n";
    std::error_code failed;
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!(out << text) || !out.flush()) failed = std::make_error_code(std::errc::io_error);
    }
    if (!failed) std::filesystem::rename(partial, file, failed);
    if (failed) {
        std::filesystem::remove(partial, failed);
        std::fprintf(stderr, "obscuro-music: the description of the %s screen was not written to %s\n", gPicture->screen().c_str(), file.c_str());
        return;
    }
    std::printf("Described %s (process %d, picture %d): %s\n", gPicture->screen().c_str(), static_cast<int>(::getpid()),
                gPicture->paintings(), file.c_str());
    std::fflush(stdout);
}

// A watcher of the picture learns from this line that a new one is in place, and which process drew it.
bool paintPicture() {
    if (!gPicture) return true;
    std::string error;
    bool painted = gPicture->paint(&error);
    if (painted)
        std::printf("Painted %s (process %d, picture %d): %s\n", gPicture->screen().c_str(), static_cast<int>(::getpid()),
                    gPicture->paintings(), gPicture->file().c_str());
    else
        std::fprintf(stderr, "obscuro-music: the %s screen was not drawn: %s\n", gPicture->screen().c_str(), error.c_str());
    std::fflush(stdout);
    if (painted && gExplainer) describePicture();
    return painted;
}

void onSignal(int) {
    char byte = 0;
    [[maybe_unused]] ssize_t written = ::write(gSignalPipe[1], &byte, 1);
}

// Registered after every loaded tweak's observers, and a name's observers are called in the
// order they registered, so the tweaks have reloaded when this runs.
void settingsChanged(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    music::TweakLoadRecord record = gRecorder->finish();
    std::printf("Settings changed (%d):\n", ++gChanges);
    printDevicePaths(record, "  ");
    printThemeState();
    std::fflush(stdout);
    paintPicture();
    gRecorder.emplace();
}

// Watches the picture's folder for a replaced screen request; -1 without a picture.
int watchScreenRequests() {
    if (!gPicture) return -1;
    int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch < 0) return -1;
    std::filesystem::path folder = gPicture->file().parent_path();
    if (::inotify_add_watch(watch, folder.empty() ? "." : folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
        ::close(watch);
        return -1;
    }
    return watch;
}

void screenRequestsChanged(int watch) {
    alignas(inotify_event) char events[4096];
    bool requested = false;
    std::string wanted = screenRequestFile().filename().string();
    for (ssize_t count; (count = ::read(watch, events, sizeof events)) > 0;)
        for (char* at = events; at < events + count;) {
            auto* event = reinterpret_cast<inotify_event*>(at);
            if (event->len && wanted == event->name) requested = true;
            at += sizeof(inotify_event) + event->len;
        }
    if (!requested) return;
    auto screen = requestedScreen();
    if (!screen || *screen == gPicture->screen()) return;
    gPicture->setScreen(*screen);
    paintPicture();
}

int serve() {
    if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("obscuro-music: pipe");
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);

    auto& loop = platform::RunLoop::main();
    loop.addFileDescriptor(gSignalPipe[0], [&loop] { loop.stop(); });
    int screenWatch = watchScreenRequests();
    if (screenWatch >= 0) loop.addFileDescriptor(screenWatch, [screenWatch] { screenRequestsChanged(screenWatch); });
    gRecorder.emplace();
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, settingsChanged, platform::internCFString(kSettingsChanged),
                                    nullptr, CFNotificationSuspensionBehaviorCoalesce);
    std::printf("Serving: ThemeState is shown after each settings change; interrupt (Ctrl-C) to quit.\n");
    std::fflush(stdout);
    loop.run();
    gRecorder.reset();
    std::printf("Stopped.\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int exitCode = 0;
    auto options = parseOptions(argc, argv, exitCode);
    if (!options) return exitCode;

    std::error_code error;
    if (!std::filesystem::is_directory(options->root, error)) {
        std::fprintf(stderr, "obscuro-music: no device at %s (build the target stage_device, or pass --root DIR)\n",
                     options->root.c_str());
        return 1;
    }
    device::setRoot(options->root);
    for (const auto& name : options->absent)
        if (!isMusicClass(name)) std::fprintf(stderr, "obscuro-music: warning: --absent %s names no Music class\n", name.c_str());

    objc::AutoreleasePool pool;
    music::startMusicApp();
    for (const auto& name : music::registerMusicClasses(options->absent))
        std::fprintf(stderr, "obscuro-music: warning: %s not registered: its superclass is missing\n", name.c_str());

    std::printf("Music app (%s) on the device %s\n", music::kBundleIdentifier, device::root().c_str());
    std::fflush(stdout);
    music::TweakLoadRecorder recorder;
    platform::TweakLoadReport report = platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName);
    music::TweakLoadRecord record = recorder.finish();
    makeSymbolsGlobal(report.loaded());

    printRecord(report, record);
    printThemeState();
    std::fflush(stdout);
    // A picture that cannot be drawn at start will not be drawn later either: the watcher learns
    // it from the app's end rather than from a picture that never comes.
    if (!options->screen.empty()) {
        gPicture.emplace(requestedScreen().value_or(options->screen), options->picture, options->scale);
        if (options->explain) {
            gExplainer.emplace();
            gPicture->setWillBuild([] { gExplainer->beginScreen(); });
        }
        if (!paintPicture()) {
            gPicture.reset();
            return 1;
        }
    }
    int status = options->serve ? serve() : 0;
    gPicture.reset();
    gExplainer.reset();
    return status;
}
