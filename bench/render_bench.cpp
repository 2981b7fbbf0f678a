// Drawing the Music app's screens at scale 3: each screen's view tree, already built and shown, rendered stock and with the product's dark theme.
#include <UIKit/UIView.h>
#include <music/MusicApp.h>
#include <music/MusicClasses.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <render/Renderer.h>
#include <screens/MusicScreens.h>
#include <substrate/TweakLoader.h>

#include "median_report.h"
#include "private_device.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kScale = 3;

// The Music app started on a copy of the default device whose settings switch the product on
// with its default theme; the product itself is loaded only when the first dark screen asks,
// since a loaded tweak cannot be taken out of the process again.
class MusicAppOnDevice {
public:
    MusicAppOnDevice() : device_("<key>enabled</key><true/>") {
        music::startMusicApp();
        music::registerMusicClasses();
    }

    bool tweakLoaded() const { return tweakLoaded_; }
    // Loads the product once; answers what the loader said when it did not load it.
    std::string loadTweak() {
        if (!tweakLoaded_) {
            platform::TweakLoadReport report = platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName);
            tweakLoaded_ = true;
            std::vector<std::string> loaded = report.loaded();
            if (std::find(loaded.begin(), loaded.end(), "Obscuro") == loaded.end()) loadFailure_ = report.describe();
        }
        return loadFailure_;
    }

private:
    bench::PrivateDevice device_;
    bool tweakLoaded_ = false;
    std::string loadFailure_;
};

MusicAppOnDevice& app() {
    static MusicAppOnDevice started;
    return started;
}

// One screen shown in its window, then only its drawing timed.
void renderScreen(benchmark::State& state, const std::string& screen, bool dark) {
    if (dark) {
        if (std::string failure = app().loadTweak(); !failure.empty()) {
            state.SkipWithError(("the product did not load: " + failure).c_str());
            return;
        }
    } else if (app().tweakLoaded()) {
        state.SkipWithError("the product is already loaded: stock screens must run before dark ones");
        return;
    }
    objc::AutoreleasePool pool;
    objc::Strong<objc_object> window = music::screens::showScreen(screen);
    if (!window) {
        state.SkipWithError("unknown screen");
        return;
    }
    auto* root = static_cast<UIView*>(window.get());
    std::size_t bytes = 0;
    for (auto _ : state) {
        render::Picture picture = render::renderView(root, kScale);
        bytes = picture.rgba.size();
        benchmark::DoNotOptimize(picture.rgba.data());
    }
    if (bytes == 0) state.SkipWithError("the screen drew nothing");
    msg<void>(window.get(), sel<"setHidden:">(), true);
}

// The PNG file of a drawn screen, for scale: what `obscuro preview` adds to each drawing.
void encodePNG(benchmark::State& state) {
    app();
    objc::AutoreleasePool pool;
    objc::Strong<objc_object> window = music::screens::showScreen("library");
    render::Picture picture = render::renderView(static_cast<UIView*>(window.get()), kScale);
    for (auto _ : state) benchmark::DoNotOptimize(picture.png().size());
    msg<void>(window.get(), sel<"setHidden:">(), true);
}

// Registered in order: every stock screen before the first dark one.
void registerScreens() {
    for (bool dark : {false, true}) {
        for (const std::string& screen : music::screens::screenNames()) {
            std::string name = "Render/" + screen + (dark ? "/dark" : "/stock");
            benchmark::RegisterBenchmark(name.c_str(), [screen, dark](benchmark::State& state) { renderScreen(state, screen, dark); })
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.2)
                ->Repetitions(5)
                ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
                ->ReportAggregatesOnly(true);
        }
    }
    benchmark::RegisterBenchmark("EncodePNG/library", encodePNG)->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    registerScreens();
    char heading[128];
    std::snprintf(heading, sizeof heading, "Figures (medians, %g x %g pt at scale %g):", music::screens::kWindowWidth, music::screens::kWindowHeight, kScale);
    return bench::runWithFigures(argc, argv, heading, [](bench::MedianReport& report) {
        for (const char* variant : {"stock", "dark"}) {
            for (const std::string& screen : music::screens::screenNames()) {
                std::string what = screen + " drawn, " + variant;
                report.figure(what.c_str(), "Render/" + screen + "/" + variant, "ms", 50);
            }
        }
        report.quote("library as a PNG file", "EncodePNG/library", "ms");
    });
}
