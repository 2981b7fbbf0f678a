// Named images through the replaced UIImage class method: a cached placeholder, a placeholder's first composition, a tinted glyph.
#include "GlyphImageCache.h"
#include "HookTable.h"
#include "median_report.h"
#include "Preferences.h"
#include "private_device.h"
#include "ThemeState.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIKit.h>
#include <music/MusicApp.h>
#include <music/MusicClasses.h>
#include <objc/Strong.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr std::size_t kImageNamed = 64;
constexpr const char* kResourceFolder = "/Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle/";

// The Music app with the tweak loaded as its constructor loads it, on a device of its own
// with the product on and dark placeholders chosen.
struct MusicAppWithTweak {
    explicit MusicAppWithTweak(const bench::PrivateDevice& onDevice) : device(onDevice) {
        objc::AutoreleasePool pool;
        music::registerMusicClasses();
        music::startMusicApp();
        obscuro::createGlyphImageCache();
        obscuro::loadPreferences(nullptr, nullptr, nullptr, nullptr, nullptr);
        obscuro::installHookTable();
        obscuro::colorFlowMusicEnabled = false;  // the device has no ColorFlow, as the constructor finds
    }
    const bench::PrivateDevice& device;
};

// The device goes at exit; the app's objects stay, as they would in the app.
MusicAppWithTweak& app() {
    static bench::PrivateDevice device{"<key>enabled</key><true/><key>useDarkPlaceholder</key><true/>"};
    static MusicAppWithTweak* loaded = new MusicAppWithTweak(device);
    return *loaded;
}

id imageNamed(id name) {
    return msg<id>(objc_getClass("UIImage"), sel<"imageNamed:inBundle:compatibleWithTraitCollection:">(), name, (id) nullptr,
                   (id) nullptr);
}

// The app's own catalogue answering the same name, without the replacement: what every request pays first.
void BM_StockImageNamedPlaceholder(benchmark::State& state) {
    app();
    id name = NSSTR("PlaylistSmartIcon");
    id image = objc_getClass("UIImage");
    SEL cmd = sel<"imageNamed:inBundle:compatibleWithTraitCollection:">();
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        benchmark::DoNotOptimize(obscuro::callThrough<kImageNamed, id>(image, cmd, name, (id) nullptr, (id) nullptr));
    }
}
BENCHMARK(BM_StockImageNamedPlaceholder);

// A placeholder asked for again: the app's own image loaded, then the composite found in the cache.
void BM_PlaceholderCached(benchmark::State& state) {
    app();
    id name = NSSTR("PlaylistSmartIcon");
    id first = imageNamed(name);
    CGSize size = msg<CGSize>(first, sel<"size">());
    if (size.width != 630 || size.height != 630) return state.SkipWithError("the request did not give the composed placeholder");
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        id image = imageNamed(name);
        benchmark::DoNotOptimize(image);
        if (image != first) return state.SkipWithError("a later request composed anew");
    }
}
BENCHMARK(BM_PlaceholderCached);

// A placeholder asked for the first time. The cache keeps every key for the life of the
// process, so each iteration asks for a name of its own ("PlaylistSmartIcon-first<n>", its
// own cache key) whose glyph file, a link to the shipped smart-playlist glyph, is made
// before the clock runs. The app has no asset of that name, so the app's own lookup misses.
void BM_PlaceholderFirstComposition(benchmark::State& state) {
    auto& loaded = app();
    static int next = 0;
    std::filesystem::path glyphs = loaded.device.hostPath(kResourceFolder);
    for (auto _ : state) {
        state.PauseTiming();
        std::string key = "PlaylistSmartIcon-first" + std::to_string(next++);
        std::filesystem::create_hard_link(glyphs / "PlaylistSmartIcon.png", glyphs / (key + ".png"));
        objc::Strong<objc_object> name = objc::retain(objc::str(key.c_str()));
        state.ResumeTiming();
        {
            objc::AutoreleasePool pool;
            id image = imageNamed(name.get());
            benchmark::DoNotOptimize(image);
            if (msg<CGSize>(image, sel<"size">()).width != 630) return state.SkipWithError("no composed placeholder");
        }
    }
}
// Every composite stays cached (630 × 630 × 4 bytes each), so the count is kept small.
BENCHMARK(BM_PlaceholderFirstComposition)->Iterations(20)->Unit(benchmark::kMillisecond);

// A 30 × 30 pt glyph at scale 3 from the app's catalogue, tinted anew at every request.
void BM_TintedNamedGlyph(benchmark::State& state) {
    app();
    id name = NSSTR("NowPlaying-Transport-Play");
    id stock = obscuro::callThrough<kImageNamed, id>(objc_getClass("UIImage"), sel<"imageNamed:inBundle:compatibleWithTraitCollection:">(),
                                                     name, (id) nullptr, (id) nullptr);
    if (!stock || msg<double>(stock, sel<"scale">()) != 3.0 || msg<CGSize>(stock, sel<"size">()).width != 30)
        return state.SkipWithError("the app's glyph is not 30 × 30 pt at scale 3");
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        id image = imageNamed(name);
        benchmark::DoNotOptimize(image);
        if (image == stock) return state.SkipWithError("the glyph was not tinted");
    }
}
BENCHMARK(BM_TintedNamedGlyph)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithFigures(argc, argv, "Figures (medians):", [](bench::MedianReport& report) {
        report.figure("placeholder request after the first", "BM_PlaceholderCached", "us", 1.0);
        report.quote("  of which the app's own catalogue lookup", "BM_StockImageNamedPlaceholder", "us");
        report.quote("placeholder request, first composition", "BM_PlaceholderFirstComposition", "ms");
        report.quote("30 x 30 pt glyph at scale 3, tinted per request", "BM_TintedNamedGlyph", "us");
    });
}
