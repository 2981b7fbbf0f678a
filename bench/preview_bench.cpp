// The whole `obscuro preview --screen all` (wall time, processes and files included) beside the sum of its drawings as bench_render times them, in one run.
#include "median_report.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// Runs a program with its standard output to `out` (or thrown away); true when it exited with 0.
bool run(const std::vector<std::string>& arguments, const char* out = "/dev/null") {
    std::vector<std::string> words = arguments;
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = -1;
    int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct ScratchFolder {
    fs::path path;
    ScratchFolder() {
        char pattern[] = "/tmp/preview-bench-XXXXXX";
        if (::mkdtemp(pattern)) path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// Every screen, both variants, at the default scale 3, as a user runs it: from start to exit.
void WholePreview(benchmark::State& state) {
    ScratchFolder output;
    bench::timeEachChange(state, "obscuro preview failed", [] {}, [&] {
        return run({OBSCURO_CLI, "preview", "--screen", "all", "-o", output.path.string()});
    });
}
BENCHMARK(WholePreview)->UseManualTime()->Iterations(7)->Unit(benchmark::kMillisecond);

// The sum of bench_render's medians (CPU time) over every screen and variant, from a run of it now.
double summedRenderSeconds(int* screens) {
    ScratchFolder scratch;
    fs::path results = scratch.path / "render.json";
    if (!run({BENCH_RENDER, "--benchmark_filter=^Render/", "--benchmark_repetitions=5",
              "--benchmark_report_aggregates_only=true", "--benchmark_out_format=json", "--benchmark_out=" + results.string()}))
        return NAN;
    std::ifstream in(results);
    nlohmann::json report = nlohmann::json::parse(in, nullptr, false);
    if (!report.is_object()) return NAN;
    double sum = 0;
    *screens = 0;
    for (const auto& result : report["benchmarks"]) {
        if (result.value("aggregate_name", "") != "median") continue;
        sum += result.value("cpu_time", 0.0) / 1e3;  // milliseconds, as the benchmark's unit
        ++*screens;
    }
    return *screens ? sum : NAN;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithFigures(argc, argv, "Figures (medians):", [](bench::MedianReport& report) {
        int pictures = 0;
        double render = summedRenderSeconds(&pictures);
        double whole = report.seconds("WholePreview");
        std::printf("  %-58s %10.3f ms\n", ("drawing, summed over " + std::to_string(pictures) + " pictures (bench_render)").c_str(), render * 1e3);
        report.figure("obscuro preview --screen all, wall time", "WholePreview", "ms", 3 * render * 1e3);
        std::printf("  %-58s %10.2f x   (target <= 3 x) %s\n", "whole preview / summed drawing", whole / render, whole <= 3 * render ? "met" : "MISSED");
    });
}
