// Latency from a Darwin notification post to the observer's callback in another process.
#include "median_report.h"

#include <CoreFoundation/CoreFoundation.h>
#include <device/device.h>

#include <benchmark/benchmark.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::int64_t monotonicNanoseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

bool readStamp(int fd, std::int64_t* stamp) { return read(fd, stamp, sizeof *stamp) == sizeof *stamp; }

void PostToCallbackInAnotherProcess(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "bench-device-XXXXXX").string();
    fs::path root = mkdtemp(pattern.data());
    device::setRoot(root);

    int fromObserver[2];
    if (pipe(fromObserver) != 0) return state.SkipWithError("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fromObserver[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fromObserver[0]);
    std::string rootText = root.string();
    char name[] = "com.bench.latency";
    char* argv[] = {const_cast<char*>(NOTIFICATION_OBSERVER), rootText.data(), name, nullptr};
    pid_t observer = 0;
    posix_spawn(&observer, NOTIFICATION_OBSERVER, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fromObserver[1]);

    std::int64_t stamp = 0;
    std::vector<double> latencies;
    if (!readStamp(fromObserver[0], &stamp)) {
        state.SkipWithError("the observer did not start");
    } else {
        CFStringRef posted = CFSTR("com.bench.latency");
        for (auto _ : state) {
            std::int64_t start = monotonicNanoseconds();
            CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), posted, nullptr, nullptr, true);
            if (!readStamp(fromObserver[0], &stamp)) {
                state.SkipWithError("the observer stopped answering");
                break;
            }
            double seconds = double(stamp - start) / 1e9;
            state.SetIterationTime(seconds);
            latencies.push_back(seconds);
        }
    }
    kill(observer, SIGTERM);
    waitpid(observer, nullptr, 0);
    close(fromObserver[0]);
    fs::remove_all(root);

    if (!latencies.empty()) {
        std::sort(latencies.begin(), latencies.end());
        state.counters["median_ms"] = latencies[latencies.size() / 2] * 1e3;
        state.counters["p99_ms"] = latencies[latencies.size() * 99 / 100] * 1e3;
    }
}
BENCHMARK(PostToCallbackInAnotherProcess)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithFigures(argc, argv, "Figures (medians of single timings):", [](bench::MedianReport& report) {
        report.figure("notification post -> callback in another process", report.counter("PostToCallbackInAnotherProcess", "median_ms"), "ms", 5);
    });
}
