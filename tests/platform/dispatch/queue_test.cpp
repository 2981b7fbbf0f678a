// The main queue: blocks added from any thread run in order on the main run loop, never inside dispatch_async.
#include <CoreFoundation/CoreFoundation.h>
#include <dispatch/dispatch.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(MainQueue, BlocksFromAnyThreadRunInOrderOnTheMainRunLoop) {
    std::vector<int> order;
    std::thread::id mainThread = std::this_thread::get_id();
    bool allOnMainThread = true;
    auto record = [&](int n) {
        return [&, n] {
            if (std::this_thread::get_id() != mainThread) allOnMainThread = false;
            order.push_back(n);
        };
    };
    dispatch_async(dispatch_get_main_queue(), record(1));
    std::thread([&] { dispatch_async(dispatch_get_main_queue(), record(2)); }).join();
    EXPECT_TRUE(order.empty());
    while (order.size() < 2) CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1, true);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_TRUE(allOnMainThread);
}

TEST(MainQueue, NilQueueOrEmptyBlockIsIgnored) {
    dispatch_async(nullptr, [] { FAIL() << "a nil queue runs nothing"; });
    dispatch_async(dispatch_get_main_queue(), std::function<void()>());
    dispatch_async_f(dispatch_get_main_queue(), nullptr, nullptr);
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, true), kCFRunLoopRunFinished);
}

}  // namespace
