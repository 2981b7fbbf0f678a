// dispatch_once: one run per predicate, concurrent first callers wait for it and see what it wrote.
#include <dispatch/once.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

TEST(DispatchOnce, ConcurrentFirstCallersWaitForTheOneRunAndSeeItsWrites) {
    static dispatch_once_t predicate;
    static int runs;  // plain on purpose: only the ordering dispatch_once gives makes reading it safe
    static int value;
    std::atomic<int> waiting{0};
    std::vector<int> seen(8, -1);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            ++waiting;
            while (waiting < 8) std::this_thread::yield();
            dispatch_once(&predicate, [] {
                ++runs;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                value = 42;
            });
            seen[t] = value;
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(seen, std::vector<int>(8, 42));

    dispatch_once(&predicate, [] { ++runs; });
    EXPECT_EQ(runs, 1);
}

TEST(DispatchOnce, ABlockThatThrowsHasNotRunAndTheNextCallRunsAgain) {
    static dispatch_once_t predicate;
    int attempts = 0;
    EXPECT_THROW(dispatch_once(&predicate,
                               [&] {
                                   ++attempts;
                                   throw std::runtime_error("not yet");
                               }),
                 std::runtime_error);
    dispatch_once(&predicate, [&] { ++attempts; });
    dispatch_once(&predicate, [&] { ++attempts; });
    EXPECT_EQ(attempts, 2);
}

TEST(DispatchOnce, FunctionFormPassesItsContext) {
    static dispatch_once_t predicate;
    int calls = 0;
    auto count = [](void* context) { ++*static_cast<int*>(context); };
    dispatch_once_f(&predicate, &calls, count);
    dispatch_once_f(&predicate, &calls, count);
    EXPECT_EQ(calls, 1);
}

}  // namespace
