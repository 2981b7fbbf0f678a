// The image toolkit against its yardsticks: main colours vs the text-key count, tint vs memcpy, vImage scaling vs libvips.
#include "main_colours_text_keys.h"
#include "UIColor+TarnwickAnalysis.h"
#include "UIImage+Color.h"

#include <CoreGraphics/CGBitmapContext.h>
#include <CoreGraphics/CGDataProvider.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIScreen.h>
#include <objc/Strong.h>
#include <objc/message.h>

#include <benchmark/benchmark.h>
#include <vips/vips.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

// A photo-like picture as premultiplied R,G,B,A bytes: a diagonal gradient, a flat disc, noise
// on everything, and a transparent border.
std::vector<std::uint8_t> photoPixels(int width, int height) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4, 0);
    std::mt19937 random(1000);
    std::uniform_int_distribution<int> noise(-12, 12);
    const int border = width / 25;
    const double cx = 0.6 * width, cy = 0.45 * height, radius = 0.2 * width;
    for (int y = border; y < height - border; ++y) {
        for (int x = border; x < width - border; ++x) {
            double fx = double(x) / width, fy = double(y) / height;
            int rgb[3] = {int(40 + 160 * fx), int(70 + 110 * fy), int(200 - 150 * fx * fy)};
            if (std::hypot(x - cx, y - cy) < radius) rgb[0] = 230, rgb[1] = 190, rgb[2] = 40;
            std::uint8_t* pixel = &pixels[(std::size_t(y) * width + x) * 4];
            for (int c = 0; c < 3; ++c) pixel[c] = std::uint8_t(std::clamp(rgb[c] + noise(random), 0, 255));
            pixel[3] = 255;
        }
    }
    return pixels;
}

// An image of scale `scale` over a copy of the pixels, decoded and ready to draw.
id imageOf(const std::vector<std::uint8_t>& pixels, int width, int height, double scale = 1.0) {
    CGDataProviderRef provider = CGDataProviderCreateWithCopyOfData(pixels.data(), pixels.size());
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    CGImageRef bitmap = CGImageCreate(width, height, 8, 32, std::size_t(width) * 4, rgb,
                                      kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big, provider, nullptr, false,
                                      kCGRenderingIntentDefault);
    id image = msg<id>(objc_getClass("UIImage"), sel<"imageWithCGImage:scale:orientation:">(), bitmap, scale, 0L);
    CGImageRelease(bitmap);
    CGColorSpaceRelease(rgb);
    CGDataProviderRelease(provider);
    return image;
}

struct Pictures {
    objc::Strong<objc_object> photo = objc::retain(imageOf(photoPixels(1000, 1000), 1000, 1000));
    // A glyph-sized picture of 630 × 630 points at scale 3.
    objc::Strong<objc_object> glyph = objc::retain(imageOf(photoPixels(1890, 1890), 1890, 1890, 3.0));
    std::vector<std::uint8_t> large = photoPixels(2000, 2000);
    objc::Strong<objc_object> largeImage = objc::retain(imageOf(large, 2000, 2000));
};

Pictures& pictures() {
    static Pictures* shared = new Pictures;
    return *shared;
}

void BM_MainColours(benchmark::State& state) {
    id photo = pictures().photo;
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        benchmark::DoNotOptimize(mainColoursInImage(photo, int(state.range(0))));
    }
}
BENCHMARK(BM_MainColours)->ArgName("detail")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(9);

void BM_MainColoursTextKeys(benchmark::State& state) {
    id photo = pictures().photo;
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        benchmark::DoNotOptimize(bench::textKeyMainColoursInImage(photo, int(state.range(0))));
    }
}
BENCHMARK(BM_MainColoursTextKeys)->ArgName("detail")->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_ImageWithTint(benchmark::State& state) {
    id glyph = pictures().glyph;
    id tint = msg<id>(objc_getClass("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), 1.0, 0.2, 0.3, 1.0);
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        benchmark::DoNotOptimize(imageWithTint(glyph, tint));
    }
}
BENCHMARK(BM_ImageWithTint)->Unit(benchmark::kMillisecond)->Repetitions(9);

// The bytes of the tinted picture (1890 × 1890 pixels × 4), copied once.
void BM_MemcpyTintBytes(benchmark::State& state) {
    std::vector<std::uint8_t> from(std::size_t(1890) * 1890 * 4, 7), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyTintBytes)->Unit(benchmark::kMillisecond)->Repetitions(9);

void BM_VImageScaled(benchmark::State& state) {
    id image = pictures().largeImage;
    for (auto _ : state) {
        objc::AutoreleasePool pool;
        benchmark::DoNotOptimize(vImageScaledImageWithSize(image, CGSizeMake(1000, 1000)));
    }
}
BENCHMARK(BM_VImageScaled)->Unit(benchmark::kMillisecond)->Repetitions(9);

// libvips's own Lanczos resize of the same pixels, from memory to memory.
void BM_VipsLanczos(benchmark::State& state) {
    const auto& pixels = pictures().large;
    for (auto _ : state) {
        VipsImage* in = vips_image_new_from_memory(pixels.data(), pixels.size(), 2000, 2000, 4, VIPS_FORMAT_UCHAR);
        VipsImage* out = nullptr;
        if (vips_resize(in, &out, 0.5, "kernel", VIPS_KERNEL_LANCZOS3, nullptr) != 0) state.SkipWithError(vips_error_buffer());
        std::size_t size = 0;
        void* memory = out ? vips_image_write_to_memory(out, &size) : nullptr;
        benchmark::DoNotOptimize(memory);
        g_free(memory);
        if (out) g_object_unref(out);
        g_object_unref(in);
    }
}
BENCHMARK(BM_VipsLanczos)->Unit(benchmark::kMillisecond)->Repetitions(9);

// Keeps the median of every benchmark and prints the figures against their targets.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medians_[run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void summarise() const {
        std::printf("\nFigures (medians, ms):\n");
        double fast = median("BM_MainColours/detail:2"), text = median("BM_MainColoursTextKeys/detail:2");
        std::printf("  main colours, detail 2: %.2f ms (target <= 50); text keys %.1f ms; %.0fx faster (target >= 30x)\n",
                    fast, text, text / fast);
        std::printf("  main colours, detail 1: %.3f ms (target <= 1); detail 0: %.3f ms\n", median("BM_MainColours/detail:1"),
                    median("BM_MainColours/detail:0"));
        double tint = median("BM_ImageWithTint"), copy = median("BM_MemcpyTintBytes");
        std::printf("  imageWithTint 1890 x 1890 px: %.2f ms; memcpy %.2f ms; %.1fx (target <= 8x)\n", tint, copy, tint / copy);
        double scaled = median("BM_VImageScaled"), vips = median("BM_VipsLanczos");
        std::printf("  vImageScaledImageWithSize 2000 -> 1000 px: %.2f ms; libvips Lanczos %.2f ms; %.2fx (target <= 1.5x)\n",
                    scaled, vips, scaled / vips);
    }

private:
    double median(const std::string& name) const {
        auto found = medians_.find(name);
        return found == medians_.end() ? NAN : found->second;
    }
    std::map<std::string, double> medians_;
};

// The fast count must give exactly the text-key result before its time means anything.
bool sameResults(int detail) {
    objc::AutoreleasePool pool;
    id photo = pictures().photo;
    id fast = mainColoursInImage(photo, detail), text = bench::textKeyMainColoursInImage(photo, detail);
    bool same = msg<BOOL>(fast, sel<"isEqualToDictionary:">(), text) &&
                objc::utf8(msg<id>(fast, sel<"description">())) == objc::utf8(msg<id>(text, sel<"description">()));
    std::printf("main colours at detail %d: %lu colours, %s the text-key result\n", detail,
                msg<unsigned long>(fast, sel<"count">()), same ? "identical to" : "DIFFERENT FROM");
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    if (VIPS_INIT(argv[0]) != 0) return 1;
    platform::setMainScreenScale(3.0);
    benchmark::Initialize(&argc, argv);
    bool same = sameResults(0) && sameResults(1) && sameResults(2);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.summarise();
    benchmark::Shutdown();
    vips_shutdown();
    return same ? 0 : 1;
}
