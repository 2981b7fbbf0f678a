// obscuro-music: the simulated Music app. Loads the tweaks of a device as the phone would and reports what they did.
#include "src/ThemeStateReport.h"
#include "src/TweakLoadRecord.h"

#include <CoreFoundation/RunLoop.h>
#include <Foundation/NSBundle.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>
#include <UIKit/UIApplication.h>
#include <device/device.h>
#include <music/MusicClasses.h>
#include <substrate/TweakLoader.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace {

constexpr const char* kBundleIdentifier = "com.apple.Music";
constexpr const char* kExecutableName = "Music";
constexpr const char* kBundlePath = "/Applications/Music.app";
constexpr const char* kTweakFolder = "/Library/MobileSubstrate/DynamicLibraries/";

struct Options {
    std::filesystem::path root;
    bool stay = false;
    std::set<std::string> absent;
};

void printUsage(std::FILE* to) {
    std::fprintf(to,
                 "usage: obscuro-music [--root DIR] [--absent CLASS]... [--stay]\n"
                 "  --root DIR      the device to run on (default: $OBSCURO_DEVICE_ROOT, else the device the build staged)\n"
                 "  --absent CLASS  start as an app version without this Music class (dotted or runtime name)\n"
                 "  --stay          keep running until interrupted, reporting each change of the tweak's ThemeState\n");
}

std::filesystem::path defaultRoot() {
    if (const char* env = std::getenv("OBSCURO_DEVICE_ROOT"); env && *env) return env;
    return OBSCURO_DEVICE_ROOT;
}

// nullopt after printing the reason (or the help); `exitCode` says how to leave.
std::optional<Options> parseOptions(int argc, char** argv, int& exitCode) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--stay") {
            options.stay = true;
        } else if ((arg == "--root" || arg == "--absent") && i + 1 < argc) {
            std::string value = argv[++i];
            if (value.empty()) {
                std::fprintf(stderr, "obscuro-music: %s needs a non-empty value\n", arg.c_str());
                exitCode = 2;
                return std::nullopt;
            }
            if (arg == "--root") options.root = value;
            else options.absent.insert(value);
        } else if (arg == "--help" || arg == "-h") {
            printUsage(stdout);
            exitCode = 0;
            return std::nullopt;
        } else {
            std::fprintf(stderr, "obscuro-music: %s\n", arg == "--root" || arg == "--absent" ? ("missing value for " + arg).c_str()
                                                                                                : ("unknown option " + arg).c_str());
            printUsage(stderr);
            exitCode = 2;
            return std::nullopt;
        }
    }
    if (options.root.empty()) options.root = defaultRoot();
    return options;
}

bool isMusicClass(const std::string& name) {
    for (const auto& musicClass : music::musicClasses())
        if (name == musicClass.name || name == music::runtimeName(musicClass)) return true;
    return false;
}

void setMainBundle() {
    objc::AutoreleasePool pool;
    auto* info = objc::dict({{NSSTR("CFBundleIdentifier"), objc::str(kBundleIdentifier)},
                             {NSSTR("CFBundleExecutable"), objc::str(kExecutableName)},
                             {NSSTR("CFBundleName"), objc::str(kExecutableName)}});
    platform::setMainBundle(kBundlePath, info);
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

void printRecord(const platform::TweakLoadReport& report, const music::TweakLoadRecord& record) {
    auto loaded = report.loaded();
    std::printf("Tweak libraries loaded (%zu):\n", loaded.size());
    for (const auto& name : loaded) std::printf("  %s%s.dylib\n", kTweakFolder, name.c_str());
    for (const auto& entry : report.entries)
        if (entry.outcome != platform::TweakLoadEntry::Outcome::Loaded)
            std::printf("  not loaded: %s (%s)\n", entry.name.c_str(), entry.detail.c_str());

    std::size_t installed = 0;
    for (const auto& hook : record.hooks) installed += hook.installed;
    std::printf("Methods replaced (%zu):\n", installed);
    for (const auto& hook : record.hooks)
        if (hook.installed)
            std::printf("  %c[%s %s]\n", hook.classSide ? '+' : '-', hook.className.c_str(), hook.selector.c_str());
    if (installed != record.hooks.size()) {
        std::printf("Hooks not installed (%zu):\n", record.hooks.size() - installed);
        for (const auto& hook : record.hooks)
            if (!hook.installed)
                std::printf("  %c[%s %s]\n", hook.classSide ? '+' : '-', hook.className.c_str(), hook.selector.c_str());
    }

    std::printf("Classes absent (%zu):\n", record.classesAbsent.size());
    for (const auto& name : record.classesAbsent) std::printf("  %s\n", name.c_str());

    std::printf("Device files used (%zu):\n", record.devicePaths.size());
    for (const auto& path : record.devicePaths) std::printf("  %s%s\n", path.c_str(), deviceFileState(path).c_str());
}

void printThemeState(const std::vector<music::ThemeStateMember>& members) {
    if (members.empty()) {
        std::printf("ThemeState: not exported by any loaded library\n");
        return;
    }
    std::printf("ThemeState:\n");
    for (const auto& member : members) std::printf("  %-17s %s\n", member.name.c_str(), member.value.c_str());
}

// --- Staying: the main run loop until SIGINT or SIGTERM -------------------------------------

int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
    char byte = 0;
    [[maybe_unused]] ssize_t written = ::write(gSignalPipe[1], &byte, 1);
}

void printChanges(const std::vector<music::ThemeStateMember>& before, const std::vector<music::ThemeStateMember>& after) {
    for (const auto& member : after) {
        std::string previous = "not exported";
        for (const auto& old : before)
            if (old.name == member.name) previous = old.value;
        if (previous != member.value)
            std::printf("ThemeState changed: %s %s -> %s\n", member.name.c_str(), previous.c_str(), member.value.c_str());
    }
    std::fflush(stdout);
}

int stay() {
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
    // ThemeState has no change notice of its own; the settings notification reaches the tweak
    // on this loop, so a look at each turn of a short timer sees every reload.
    static std::vector<music::ThemeStateMember> shown = music::readThemeState();
    loop.addTimer(0.2, true, [] {
        objc::AutoreleasePool pool;
        auto now = music::readThemeState();
        if (now != shown) printChanges(shown, now);
        shown = std::move(now);
    });
    std::printf("Running; interrupt (Ctrl-C) to quit.\n");
    std::fflush(stdout);
    loop.run();
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
    platform::createApplication();
    for (const auto& name : music::registerMusicClasses(options->absent))
        std::fprintf(stderr, "obscuro-music: warning: %s not registered: its superclass is missing\n", name.c_str());
    setMainBundle();

    std::printf("Music app (%s) on the device %s\n", kBundleIdentifier, device::root().c_str());
    std::fflush(stdout);
    music::TweakLoadRecorder recorder;
    platform::TweakLoadReport report = platform::loadTweaks(kBundleIdentifier, kExecutableName);
    music::TweakLoadRecord record = recorder.finish();
    makeSymbolsGlobal(report.loaded());

    printRecord(report, record);
    printThemeState(music::readThemeState());
    std::fflush(stdout);
    return options->stay ? stay() : 0;
}
