// `obscuro studio`: the product's settings pages beside a live picture of the running Music app, on one local page.
#include "commands.h"
#include "device_folder.h"

#include <commandline/CommandLine.h>
#include <commandline/ScreenOption.h>
#include <settings/SettingsHost.h>
#include <studio/Studio.h>

#include <device/device.h>
#include <screens/MusicScreens.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace obscuro::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: obscuro studio [--root DIR] [--screen NAME] [--port P] [--scale S]\n"
    "  serves on 127.0.0.1 the product's settings pages beside the picture of one Music screen (default\n"
    "  library), drawn at scale S (default 2) by a Music app running on the same device, redrawn at every\n"
    "  settings change; prints the page's address. Stops on SIGINT or SIGTERM, ending that Music app.\n";

// OBSCURO_MUSIC when set, else the obscuro-music beside this program (an installed layout), else the one the build made.
fs::path musicProgram() {
    if (const char* chosen = std::getenv("OBSCURO_MUSIC"); chosen && *chosen) return chosen;
    std::error_code error;
    fs::path beside = fs::read_symlink("/proc/self/exe", error).parent_path() / "obscuro-music";
    if (!error && fs::exists(beside)) return beside;
    return OBSCURO_MUSIC_PROGRAM;
}

int gStopPipe[2] = {-1, -1};

void onStopSignal(int) {
    char byte = 0;
    [[maybe_unused]] ssize_t written = ::write(gStopPipe[1], &byte, 1);
}

int serveStudio(studio::StudioOptions& options, int port) {
    options.screens = music::screens::screenNames();
    options.root = deviceRoot();
    std::error_code error;
    if (!fs::is_directory(options.root, error)) {
        std::fprintf(stderr, "obscuro studio: no device at %s (build the target stage_device, or pass --root DIR)\n", options.root.c_str());
        return 1;
    }
    options.root = fs::absolute(options.root);
    options.musicProgram = musicProgram();

    device::setRoot(options.root);
    std::string reason;
    auto session = settings::SettingsSession::open(options.bundle, &reason);
    if (!session) {
        std::fprintf(stderr, "obscuro studio: %s\n", reason.c_str());
        return 1;
    }
    settings::SettingsHost host(std::move(session), settings::SettingsHost::newToken());
    if (::pipe2(gStopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("obscuro studio: pipe");
        return 1;
    }
    try {
        studio::Studio studio(host, options);
        if (host.bind(port) < 0) {
            std::fprintf(stderr, "obscuro studio: cannot listen on 127.0.0.1:%d\n", port);
            return 1;
        }
        if (!studio.start(&reason)) {
            std::fprintf(stderr, "obscuro studio: %s\n", reason.c_str());
            return 1;
        }

        struct sigaction action {}, previousInt {}, previousTerm {};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &previousInt);
        ::sigaction(SIGTERM, &action, &previousTerm);
        // A signal may come before the server listens, when stop() has nothing to stop yet: it is
        // repeated until run() has returned.
        std::atomic<bool> served{false};
        std::thread stopper([&] {
            pollfd wait{gStopPipe[0], POLLIN, 0};
            while (::poll(&wait, 1, -1) < 0) {}
            studio.closeStreams();
            while (!served.load()) {
                host.stop();
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });

        std::printf("%sstudio\n", host.address().c_str());
        std::fflush(stdout);
        host.run();
        served = true;
        onStopSignal(0);
        stopper.join();
        studio.stop();
        ::sigaction(SIGINT, &previousInt, nullptr);
        ::sigaction(SIGTERM, &previousTerm, nullptr);
    } catch (const std::runtime_error& failure) {
        std::fprintf(stderr, "obscuro studio: %s\n", failure.what());
        return 1;
    }
    ::close(gStopPipe[0]);
    ::close(gStopPipe[1]);
    return 0;
}

}  // namespace

Action studioCommand(CLI::App& command) {
    describeUsage(command, "obscuro studio", kUsage);
    auto options = std::make_shared<studio::StudioOptions>();
    auto port = std::make_shared<int>(0);
    command.add_option("--screen", options->screen)->check(musicScreen());
    command.add_option("--port", *port)->transform(loopbackPort());
    command.add_option("--scale", options->scale)->check(drawingScale());
    return [options, port] { return serveStudio(*options, *port); };
}

}  // namespace obscuro::cli
