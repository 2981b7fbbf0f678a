// The tweak's hot paths: the background decision per call, and a settings load with the shipped theme file.
#include "BackgroundHooks.h"
#include "HookTable.h"
#include "median_report.h"
#include "Preferences.h"
#include "private_device.h"
#include "ThemeState.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIKit.h>
#include <music/MusicClasses.h>
#include <objc/Strong.h>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

id makeView(const char* className) {
    return msg<id>(msg<id>(objc_getClass(className), sel<"alloc">()), sel<"initWithFrame:">(), CGRectMake(0, 0, 100, 40));
}

// The Music app as the tweak sees it after load: the app's classes, the hooks installed, the
// product on with the default theme (a settings file that only turns it on), no ColorFlow.
struct LoadedTweak {
    LoadedTweak() {
        objc::AutoreleasePool pool;
        music::registerMusicClasses();
        obscuro::loadPreferences(nullptr, nullptr, nullptr, nullptr, nullptr);
        obscuro::installHookTable();
        obscuro::colorFlowMusicEnabled = false;
        white = objc::retain(msg<id>(objc_getClass("UIColor"), sel<"whiteColor">()));
        plainView = objc::adopt(makeView("UIView"));
        label = objc::adopt(makeView("UILabel"));
    }
    objc::Strong<objc_object> white, plainView, label;
};

// The device goes at exit; the app's objects stay, as they would in the app.
LoadedTweak& tweak() {
    static bench::PrivateDevice device{"<key>enabled</key><true/>"};
    static LoadedTweak* loaded = new LoadedTweak;
    return *loaded;
}

// The stock setBackgroundColor: the hook replaced, called directly.
void BM_StockSetBackgroundColor(benchmark::State& state) {
    auto& t = tweak();
    SEL cmd = sel<"setBackgroundColor:">();
    IMP stock = obscuro::savedImplementationOf(*obscuro::findHookEntry("UIView", "setBackgroundColor:"));
    for (auto _ : state) objc::callIMP<void>(stock, t.plainView.get(), cmd, t.white.get());
}
BENCHMARK(BM_StockSetBackgroundColor);

// The replaced setBackgroundColor: on a plain view given white: the whole procedure to its last step.
void BM_ReplacedSetBackgroundColorPlainView(benchmark::State& state) {
    auto& t = tweak();
    for (auto _ : state) {
        objc::AutoreleasePool pool;  // step 16 autoreleases the colour's hex string
        msg<void>(t.plainView.get(), sel<"setBackgroundColor:">(), t.white.get());
    }
}
BENCHMARK(BM_ReplacedSetBackgroundColorPlainView);

void BM_DecisionPlainViewWhite(benchmark::State& state) {
    auto& t = tweak();
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        benchmark::DoNotOptimize(obscuro::decideBackground(t.plainView.get(), t.white.get()));
    }
    state.counters["step"] = obscuro::decideBackground(t.plainView.get(), t.white.get()).step.major;
}
BENCHMARK(BM_DecisionPlainViewWhite);

void BM_DecisionLabel(benchmark::State& state) {
    auto& t = tweak();
    for (auto _ : state) benchmark::DoNotOptimize(obscuro::decideBackground(t.label.get(), t.white.get()));
    state.counters["step"] = obscuro::decideBackground(t.label.get(), t.white.get()).step.major;
}
BENCHMARK(BM_DecisionLabel);

void BM_LoadPreferencesDefaultTheme(benchmark::State& state) {
    tweak();
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        obscuro::loadPreferences(nullptr, nullptr, nullptr, nullptr, nullptr);
    }
}
BENCHMARK(BM_LoadPreferencesDefaultTheme)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithFigures(argc, argv, "Figures (medians):", [](bench::MedianReport& report) {
        report.figure("background decision, plain view given white (step 16)", "BM_DecisionPlainViewWhite", "ns", 150);
        report.ratio("  over the stock setBackgroundColor:", "BM_DecisionPlainViewWhite", "BM_StockSetBackgroundColor", 10);
        report.figure("whole replaced setBackgroundColor:, plain view given white", "BM_ReplacedSetBackgroundColorPlainView", "ns", 150);
        report.ratio("  over the stock setBackgroundColor:", "BM_ReplacedSetBackgroundColorPlainView", "BM_StockSetBackgroundColor", 10);
        report.quote("stock setBackgroundColor:", "BM_StockSetBackgroundColor", "ns");
        report.figure("background decision decided early (UILabel)", "BM_DecisionLabel", "ns", 60);
        report.figure("loadPreferences with the default theme file", "BM_LoadPreferencesDefaultTheme", "us", 150);
    });
}
