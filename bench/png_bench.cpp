// PNG encoding of one drawn screen (the library at scale 3, 1125 × 2436 pixels): the renderer's encoder (igzip) at its settings and others, against libpng with zlib and libspng.
#include <UIKit/UIView.h>
#include <music/MusicApp.h>
#include <music/MusicClasses.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <render/PNGEncoding.h>
#include <render/Renderer.h>
#include <screens/MusicScreens.h>

#include "median_report.h"
#include "private_device.h"

#include <benchmark/benchmark.h>

#ifdef OBSCURO_BENCH_SPNG
#include <spng.h>
#endif

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// The picture every encoder is given: the stock library screen, as `obscuro preview` draws it.
const render::Picture& libraryScreen() {
    static const render::Picture picture = [] {
        static bench::PrivateDevice device("");
        music::startMusicApp();
        music::registerMusicClasses();
        objc::AutoreleasePool pool;
        objc::Strong<objc_object> window = music::screens::showScreen("library");
        render::Picture drawn = render::renderView(static_cast<UIView*>(window.get()), 3);
        msg<void>(window.get(), sel<"setHidden:">(), true);
        return drawn;
    }();
    return picture;
}

void reportSize(benchmark::State& state, std::size_t bytes) {
    state.counters["file_kB"] = double(bytes) / 1024;
    if (bytes == 0) state.SkipWithError("the encoder wrote nothing");
}

void encodeWithLibpng(benchmark::State& state, render::PNGCompression compression) {
    const render::Picture& picture = libraryScreen();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string png = render::encodePNG(picture.rgba.data(), picture.width, picture.height, compression);
        bytes = png.size();
        benchmark::DoNotOptimize(png.data());
    }
    reportSize(state, bytes);
}

#ifdef OBSCURO_BENCH_SPNG
void encodeWithLibspng(benchmark::State& state, int level, int filters) {
    const render::Picture& picture = libraryScreen();
    std::size_t bytes = 0;
    for (auto _ : state) {
        spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
        spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
        spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, level);
        spng_set_option(ctx, SPNG_FILTER_CHOICE, filters);
        spng_ihdr header{};
        header.width = uint32_t(picture.width);
        header.height = uint32_t(picture.height);
        header.bit_depth = 8;
        header.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
        spng_set_ihdr(ctx, &header);
        int failed = spng_encode_image(ctx, picture.rgba.data(), picture.rgba.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
        int error = 0;
        void* png = failed ? nullptr : spng_get_png_buffer(ctx, &bytes, &error);
        if (!png) bytes = 0;
        benchmark::DoNotOptimize(png);
        std::free(png);
        spng_ctx_free(ctx);
    }
    reportSize(state, bytes);
}
#endif

void registerEncoders() {
    auto add = [](const char* name, auto&& run) {
        benchmark::RegisterBenchmark(name, run)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5)->ReportAggregatesOnly(true);
    };
    using render::Deflater;
    using render::RowFilter;
    add("igzip/level1-up", [](benchmark::State& s) { encodeWithLibpng(s, {Deflater::igzip, 1, RowFilter::up, false}); });
    add("igzip/level1-none", [](benchmark::State& s) { encodeWithLibpng(s, {Deflater::igzip, 1, RowFilter::none, false}); });
    add("igzip/level2-up", [](benchmark::State& s) { encodeWithLibpng(s, {Deflater::igzip, 2, RowFilter::up, false}); });
    add("libpng/level6-adaptive", [](benchmark::State& s) { encodeWithLibpng(s, {Deflater::zlib, 6, RowFilter::adaptive, false}); });
    add("libpng/level1-up", [](benchmark::State& s) { encodeWithLibpng(s, {Deflater::zlib, 1, RowFilter::up, false}); });
    add("libpng/level1-sub", [](benchmark::State& s) { encodeWithLibpng(s, {Deflater::zlib, 1, RowFilter::sub, false}); });
    add("libpng/level1-none", [](benchmark::State& s) { encodeWithLibpng(s, {Deflater::zlib, 1, RowFilter::none, false}); });
    add("libpng/rle-up", [](benchmark::State& s) { encodeWithLibpng(s, {Deflater::zlib, 1, RowFilter::up, true}); });
    add("libpng/rle-sub", [](benchmark::State& s) { encodeWithLibpng(s, {Deflater::zlib, 1, RowFilter::sub, true}); });
    add("libpng/rle-none", [](benchmark::State& s) { encodeWithLibpng(s, {Deflater::zlib, 1, RowFilter::none, true}); });
    add("renderer", [](benchmark::State& s) { encodeWithLibpng(s, {}); });
#ifdef OBSCURO_BENCH_SPNG
    add("libspng/level1-up", [](benchmark::State& s) { encodeWithLibspng(s, 1, SPNG_FILTER_CHOICE_UP); });
    add("libspng/level1-none", [](benchmark::State& s) { encodeWithLibspng(s, 1, SPNG_FILTER_CHOICE_NONE); });
    add("libspng/default", [](benchmark::State& s) { encodeWithLibspng(s, 6, SPNG_FILTER_CHOICE_ALL); });
#endif
}

}  // namespace

int main(int argc, char** argv) {
    registerEncoders();
    return bench::runWithFigures(argc, argv, "Figures (medians, one 1125 x 2436 picture):", [](bench::MedianReport& report) {
        report.figure("PNG file, the renderer's encoder", "renderer", "ms", 15);
        for (const char* other : {"igzip/level1-up", "igzip/level1-none", "igzip/level2-up", "libpng/level6-adaptive", "libpng/level1-up", "libpng/level1-sub", "libpng/level1-none", "libpng/rle-up", "libpng/rle-sub", "libpng/rle-none",
                                  "libspng/level1-up", "libspng/level1-none", "libspng/default"}) {
            if (std::isnan(report.seconds(other))) continue;
            std::string what = std::string(other) + " (" + std::to_string(int(report.counter(other, "file_kB"))) + " kB)";
            report.quote(what.c_str(), other, "ms");
        }
    });
}
