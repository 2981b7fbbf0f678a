// Run loops: what wakes them, what ends a run, and blocks performed from other threads.
#include <CoreFoundation/CoreFoundation.h>
#include <CoreFoundation/RunLoop.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <latch>
#include <thread>
#include <vector>

namespace {

using platform::RunLoop;
using Clock = std::chrono::steady_clock;

// Runs `body` with a fresh run loop: each new thread has its own.
template <class Body>
void onFreshLoop(Body body) {
    std::thread([&] { body(RunLoop::current()); }).join();
}

struct Pipe {
    int read = -1, write = -1;
    Pipe() {
        int fds[2];
        EXPECT_EQ(pipe(fds), 0);
        read = fds[0];
        write = fds[1];
    }
    ~Pipe() {
        close(read);
        close(write);
    }
    void signal() const { EXPECT_EQ(::write(write, "x", 1), 1); }
    void drain() const {
        char c;
        EXPECT_EQ(::read(read, &c, 1), 1);
    }
};

TEST(RunLoop, EachThreadHasItsOwnLoopAndTheMainThreadHasTheMainLoop) {
    EXPECT_EQ(CFRunLoopGetCurrent(), CFRunLoopGetMain());
    CFRunLoopRef other = nullptr;
    std::thread([&] { other = CFRunLoopGetCurrent(); }).join();
    EXPECT_NE(other, CFRunLoopGetMain());
}

TEST(RunLoop, ResultCodesOfARun) {
    onFreshLoop([](RunLoop& loop) {
        auto start = Clock::now();
        EXPECT_EQ(loop.runFor(5, false), RunLoop::Result::Finished) << "nothing to wait for";
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));

        RunLoop::SourceId far = loop.addTimer(60, false, [] {});
        EXPECT_EQ(loop.runFor(0.05, false), RunLoop::Result::TimedOut);
        EXPECT_EQ(loop.runFor(0, true), RunLoop::Result::TimedOut) << "a zero wait only looks at what is ready";

        loop.stop();
        EXPECT_EQ(loop.runFor(5, false), RunLoop::Result::Stopped) << "a stop before the run ends the next run";

        int performed = 0;
        loop.perform([&] { ++performed; });
        EXPECT_EQ(loop.runFor(5, true), RunLoop::Result::HandledSource);
        EXPECT_EQ(performed, 1);
        loop.removeSource(far);
    });
}

TEST(RunLoop, TimersFireOnceOrRepeatUntilRemoved) {
    onFreshLoop([](RunLoop& loop) {
        int once = 0, repeated = 0;
        loop.addTimer(0.01, false, [&] { ++once; });
        RunLoop::SourceId ticker = 0;
        ticker = loop.addTimer(0.005, true, [&] {
            if (++repeated == 3) loop.removeSource(ticker);
        });
        EXPECT_EQ(loop.runFor(2, false), RunLoop::Result::Finished) << "both timers are gone once done";
        EXPECT_EQ(once, 1);
        EXPECT_EQ(repeated, 3);
    });
}

TEST(RunLoop, DescriptorSourcesRunWhenReadable) {
    onFreshLoop([](RunLoop& loop) {
        Pipe pipe;
        int calls = 0;
        RunLoop::SourceId source = loop.addFileDescriptor(pipe.read, [&] {
            pipe.drain();
            ++calls;
        });
        EXPECT_EQ(loop.runFor(0.02, true), RunLoop::Result::TimedOut);
        EXPECT_EQ(calls, 0);
        pipe.signal();
        EXPECT_EQ(loop.runFor(5, true), RunLoop::Result::HandledSource);
        EXPECT_EQ(calls, 1);
        loop.removeSource(source);
        pipe.signal();
        EXPECT_EQ(loop.runFor(0.02, true), RunLoop::Result::Finished) << "a removed source is not watched";
        EXPECT_EQ(calls, 1);
    });
}

TEST(RunLoop, ASourceRemovedByAnEarlierCallbackOfTheSameTurnIsNotCalled) {
    onFreshLoop([](RunLoop& loop) {
        Pipe first, second;
        int secondCalls = 0;
        RunLoop::SourceId secondSource = 0;
        RunLoop::SourceId firstSource = loop.addFileDescriptor(first.read, [&] {
            first.drain();
            loop.removeSource(secondSource);
        });
        secondSource = loop.addFileDescriptor(second.read, [&] { ++secondCalls; });
        first.signal();
        second.signal();
        loop.runFor(0.05, true);
        EXPECT_EQ(secondCalls, 0);
        loop.removeSource(firstSource);
    });
}

TEST(RunLoop, BlocksPerformedFromOtherThreadsRunInOrderOnTheLoopThread) {
    std::promise<RunLoop*> published;
    std::vector<int> order;
    std::atomic<bool> allOnLoopThread{true};
    std::thread loopThread([&] {
        RunLoop& loop = RunLoop::current();
        auto keepAlive = loop.addTimer(60, false, [] {});
        published.set_value(&loop);
        while (order.size() < 3) loop.runFor(5, true);
        loop.removeSource(keepAlive);
    });
    RunLoop* loop = published.get_future().get();
    std::thread::id loopThreadId = loopThread.get_id();
    for (int i = 0; i < 3; ++i)
        loop->perform([&, i] {
            if (std::this_thread::get_id() != loopThreadId) allOnLoopThread = false;
            order.push_back(i);
        });
    loopThread.join();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(allOnLoopThread);
}

TEST(RunLoop, StopFromAnotherThreadEndsAnIndefiniteRun) {
    std::promise<RunLoop*> published;
    std::latch running(1);
    std::atomic<bool> keepAliveFired{false};
    auto loopThread = std::async(std::launch::async, [&] {
        RunLoop& loop = RunLoop::current();
        // Only a stop can end the run before this fires: it is the one thing the loop waits for.
        auto keepAlive = loop.addTimer(60, false, [&] { keepAliveFired = true; });
        loop.perform([&] { running.count_down(); });
        published.set_value(&loop);
        loop.run();
        loop.removeSource(keepAlive);
    });
    RunLoop* loop = published.get_future().get();
    running.wait();
    CFRunLoopStop(loop);
    ASSERT_EQ(loopThread.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "the stop was lost";
    EXPECT_FALSE(keepAliveFired) << "the run ended by running out of sources, not by the stop";
}

}  // namespace
