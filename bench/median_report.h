// What the benchmark programs share: their main, a reporter that keeps each benchmark's median for the figures, and the timing loop of cross-process changes.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

// Sets the counters "median_ms" and "max_ms" of single timings a benchmark took itself
// (cross-process benchmarks time each change on their own); nothing when none was taken.
inline void reportSingleTimings(benchmark::State& state, std::vector<double> milliseconds) {
    if (milliseconds.empty()) return;
    std::sort(milliseconds.begin(), milliseconds.end());
    state.counters["median_ms"] = milliseconds[milliseconds.size() / 2];
    state.counters["max_ms"] = milliseconds.back();
}

// Times one change per iteration as manual time: `prepare` runs before the clock starts,
// `change` is timed and says whether what it waits for came; `failure` ends the run when it
// did not. The single timings are reported as above.
template <class Prepare, class Change>
void timeEachChange(benchmark::State& state, const char* failure, Prepare prepare, Change change) {
    std::vector<double> milliseconds;
    for (auto _ : state) {
        prepare();
        auto start = std::chrono::steady_clock::now();
        if (!change()) {
            state.SkipWithError(failure);
            break;
        }
        double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(elapsed);
        milliseconds.push_back(elapsed * 1000);
    }
    reportSingleTimings(state, std::move(milliseconds));
}

// Figures of in-process work are read from CPU time: on a machine shared with builds, wall
// time also counts the time the benchmark waited for a core, which is not the work's cost
// (with the core to itself the two agree; the wall median is printed beside). Benchmarks that
// time themselves across processes (manual time) are read from their own timings.
class MedianReport : public benchmark::ConsoleReporter {
public:
    // With repetitions the median aggregate is kept; a benchmark run once keeps its one time.
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!median && run.run_type == Run::RT_Aggregate) continue;
            std::string name = run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
            Median& kept = medians_[name];
            if (median || !kept.fromAggregate) {
                double perUnit = benchmark::GetTimeUnitMultiplier(run.time_unit);
                bool manual = run.run_name.time_type == "manual_time";
                kept.wall = run.GetAdjustedRealTime() / perUnit;
                kept.cost = manual ? kept.wall : run.GetAdjustedCPUTime() / perUnit;
                for (const auto& [counter, value] : run.counters) kept.counters[counter] = value.value;
                kept.fromAggregate = median;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The median cost in seconds of one iteration of `name` ("BM_X" or "BM_X/arg:1"), NaN when it did not run.
    double seconds(const std::string& name) const { return find(name) ? find(name)->cost : NAN; }
    double wallSeconds(const std::string& name) const { return find(name) ? find(name)->wall : NAN; }

    // The median of a counter the benchmark set itself (such as its own median of single timings).
    double counter(const std::string& name, const std::string& counterName) const {
        const Median* kept = find(name);
        if (!kept) return NAN;
        auto found = kept->counters.find(counterName);
        return found == kept->counters.end() ? NAN : found->second;
    }

    // One line of the figures: `what`, the median of `name` in `unit` ("ns", "us", "ms"), and the target.
    void figure(const char* what, const std::string& name, const char* unit, double target) const {
        double value = seconds(name) * scale(unit);
        std::printf("  %-58s %10.3f %s  (target <= %g %s) %-6s  wall %.3f %s\n", what, value, unit, target, unit,
                    verdict(value <= target), wallSeconds(name) * scale(unit), unit);
    }
    void figure(const char* what, double value, const char* unit, double target) const {
        std::printf("  %-58s %10.3f %s  (target <= %g %s) %s\n", what, value, unit, target, unit, verdict(value <= target));
    }
    void quote(const char* what, const std::string& name, const char* unit) const {
        std::printf("  %-58s %10.3f %s                          wall %.3f %s\n", what, seconds(name) * scale(unit), unit,
                    wallSeconds(name) * scale(unit), unit);
    }
    // `name` over `yardstick`, against an upper (`atMost`) or a lower bound.
    void ratio(const char* what, const std::string& name, const std::string& yardstick, double target, bool atMost = true) const {
        double value = seconds(name) / seconds(yardstick);
        std::printf("  %-58s %10.2f x   (target %s %g x) %s\n", what, value, atMost ? "<=" : ">=", target,
                    verdict(atMost ? value <= target : value >= target));
    }

private:
    struct Median {
        double cost = NAN, wall = NAN;
        std::map<std::string, double> counters;
        bool fromAggregate = false;
    };

    const Median* find(const std::string& name) const {
        auto found = medians_.find(name);
        return found == medians_.end() ? nullptr : &found->second;
    }
    static double scale(const char* unit) {
        std::string u = unit;
        return u == "ns" ? 1e9 : u == "us" ? 1e6 : u == "ms" ? 1e3 : 1.0;
    }
    static const char* verdict(bool met) { return met ? "met" : "MISSED"; }

    std::map<std::string, Median> medians_;
};

// A benchmark program's main: runs what the command line selects, then prints `heading` and the
// figures that `figures` reads from the report. A command line it does not understand fails.
template <class Figures>
int runWithFigures(int argc, char** argv, const std::string& heading, Figures figures) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MedianReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    std::printf("\n%s\n", heading.c_str());
    figures(report);
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
