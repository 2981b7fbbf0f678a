// The tweak's hot paths: the background decision per call, and a settings load with the shipped theme file.
#include "BackgroundHooks.h"
#include "HookTable.h"
#include "Preferences.h"
#include "ThemeState.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIKit.h>
#include <device/device.h>
#include <objc/Strong.h>

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kViewSetBackgroundColor = 67;

id makeView(const char* className) {
    return msg<id>(msg<id>(objc_getClass(className), sel<"alloc">()), sel<"initWithFrame:">(), CGRectMake(0, 0, 100, 40));
}

// The app as the tweak sees it after load: hooks installed, the default theme read.
struct LoadedTweak {
    LoadedTweak() {
        device::setRoot(OBSCURO_DEVICE_ROOT);
        obscuro::loadPreferences(nullptr, nullptr, nullptr, nullptr, nullptr);
        obscuro::installHookTable();
        white = objc::retain(msg<id>(objc_getClass("UIColor"), sel<"whiteColor">()));
        plainView = objc::adopt(makeView("UIView"));
        label = objc::adopt(makeView("UILabel"));
    }
    objc::Strong<objc_object> white, plainView, label;
};

LoadedTweak& tweak() {
    static LoadedTweak loaded;
    return loaded;
}

// The stock setBackgroundColor: the hook replaced, called directly.
void BM_StockSetBackgroundColor(benchmark::State& state) {
    auto& t = tweak();
    SEL cmd = sel<"setBackgroundColor:">();
    for (auto _ : state) obscuro::callThrough<kViewSetBackgroundColor>(t.plainView.get(), cmd, t.white.get());
}
BENCHMARK(BM_StockSetBackgroundColor);

// The replaced setBackgroundColor: on a plain view given white: the whole procedure to its last step.
void BM_ReplacedSetBackgroundColorPlainView(benchmark::State& state) {
    auto& t = tweak();
    for (auto _ : state) msg<void>(t.plainView.get(), sel<"setBackgroundColor:">(), t.white.get());
}
BENCHMARK(BM_ReplacedSetBackgroundColorPlainView);

void BM_DecisionPlainViewWhite(benchmark::State& state) {
    auto& t = tweak();
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        benchmark::DoNotOptimize(obscuro::decideBackground(t.plainView.get(), t.white.get()));
    }
    state.counters["step"] = obscuro::decideBackground(t.plainView.get(), t.white.get()).step;
}
BENCHMARK(BM_DecisionPlainViewWhite);

void BM_DecisionLabel(benchmark::State& state) {
    auto& t = tweak();
    for (auto _ : state) benchmark::DoNotOptimize(obscuro::decideBackground(t.label.get(), t.white.get()));
    state.counters["step"] = obscuro::decideBackground(t.label.get(), t.white.get()).step;
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

BENCHMARK_MAIN();
