// One Music screen built and drawn with the product, as `obscuro preview` does it, without and with its view tree described.
#include "../apps/obscuro/explain/ScreenExplainer.h"

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

#include <optional>
#include <string>

namespace {

constexpr double kScale = 3;

// The Music app with the product loaded on a device that switches it on with its default theme.
// Recording is on for both figures, as it is in a preview with --explain; the plain figure takes
// and drops what was recorded, so the two differ only by the description.
struct DarkApp {
    bench::PrivateDevice device{"<key>enabled</key><true/>"};
    std::optional<obscuro::explain::ScreenExplainer> explainer;
    DarkApp() {
        music::startMusicApp();
        music::registerMusicClasses();
        platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName);
        explainer.emplace();
    }
};

DarkApp& app() {
    static DarkApp started;
    return started;
}

void drawScreen(benchmark::State& state, const std::string& screen, bool explained) {
    const obscuro::explain::ScreenExplainer& explainer = *app().explainer;
    std::size_t described = 0;
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        explainer.beginScreen();
        objc::Strong<objc_object> window = music::screens::showScreen(screen);
        auto* root = static_cast<UIView*>(window.get());
        render::Picture picture = render::renderView(root, kScale);
        benchmark::DoNotOptimize(picture.rgba.data());
        if (explained) described += explainer.describe(root).dump().size();
        msg<void>(window.get(), sel<"setHidden:">(), true);
    }
    if (explained && described == 0) state.SkipWithError("nothing was described");
}

void registerScreens() {
    for (const std::string& screen : music::screens::screenNames())
        for (bool explained : {false, true}) {
            std::string name = "Explain/" + screen + (explained ? "/explained" : "/plain");
            benchmark::RegisterBenchmark(name.c_str(), [screen, explained](benchmark::State& state) { drawScreen(state, screen, explained); })
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.2)
                ->Repetitions(5)
                ->ReportAggregatesOnly(true);
        }
}

}  // namespace

int main(int argc, char** argv) {
    registerScreens();
    return bench::runWithFigures(argc, argv, "Figures (medians; a dark screen built and drawn at scale 3, then described):",
                                 [](bench::MedianReport& report) {
                                     for (const std::string& screen : music::screens::screenNames()) {
                                         std::string plain = "Explain/" + screen + "/plain", explained = "Explain/" + screen + "/explained";
                                         report.quote((screen + " drawn").c_str(), plain, "ms");
                                         report.quote((screen + " drawn and described").c_str(), explained, "ms");
                                         report.ratio((screen + ": described over drawn").c_str(), explained, plain, 2.0);
                                     }
                                 });
}
