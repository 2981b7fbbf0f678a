// A console reporter that keeps each benchmark's median, so a program can print its figures against their targets.
#pragma once

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

class MedianReport : public benchmark::ConsoleReporter {
public:
    // With repetitions the median aggregate is kept; a benchmark run once keeps its one time.
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!median && run.run_type == Run::RT_Aggregate) continue;
            std::string name = run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
            if (median || !fromAggregate_[name]) {
                seconds_[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
                for (const auto& [counter, value] : run.counters) counters_[name + "#" + counter] = value.value;
                fromAggregate_[name] = median;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The median wall time of one iteration of `name` ("BM_X" or "BM_X/arg:1"), NaN when it did not run.
    double seconds(const std::string& name) const {
        auto found = seconds_.find(name);
        return found == seconds_.end() ? NAN : found->second;
    }

    // The median of a counter the benchmark set itself (such as its own median of single timings).
    double counter(const std::string& name, const std::string& counterName) const {
        auto found = counters_.find(name + "#" + counterName);
        return found == counters_.end() ? NAN : found->second;
    }

    // One line of the figures: `what`, its median in `unit` ("ns", "us", "ms"), and the target.
    void figure(const char* what, const std::string& name, const char* unit, double target) const {
        double value = seconds(name) * scale(unit);
        std::printf("  %-58s %10.3f %s  (target <= %g %s) %s\n", what, value, unit, target, unit, verdict(value <= target));
    }
    void figure(const char* what, double value, const char* unit, double target) const {
        std::printf("  %-58s %10.3f %s  (target <= %g %s) %s\n", what, value, unit, target, unit, verdict(value <= target));
    }
    void quote(const char* what, const std::string& name, const char* unit) const {
        std::printf("  %-58s %10.3f %s\n", what, seconds(name) * scale(unit), unit);
    }
    // `name` over `yardstick`, against a most (`atMost`) or a least ratio.
    void ratio(const char* what, const std::string& name, const std::string& yardstick, double target, bool atMost = true) const {
        double value = seconds(name) / seconds(yardstick);
        std::printf("  %-58s %10.2f x   (target %s %g x) %s\n", what, value, atMost ? "<=" : ">=", target,
                    verdict(atMost ? value <= target : value >= target));
    }

private:
    static double scale(const char* unit) {
        std::string u = unit;
        return u == "ns" ? 1e9 : u == "us" ? 1e6 : u == "ms" ? 1e3 : 1.0;
    }
    static const char* verdict(bool met) { return met ? "met" : "MISSED"; }

    std::map<std::string, double> seconds_;
    std::map<std::string, double> counters_;
    std::map<std::string, bool> fromAggregate_;
};

}  // namespace bench
