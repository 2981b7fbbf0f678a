// The picture feed: waiters wake on a new picture or an ended app, time out when nothing changes, and leave for good when it closes.
#include <studio/PictureFeed.h>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <latch>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;
using studio::PictureFeed;
using studio::StudioState;

TEST(PictureFeed, AWaiterWakesWithTheNewPictureAndItsProcess) {
    PictureFeed feed;
    std::uint64_t seen = feed.state().version;
    std::latch waiting(1);
    std::atomic<bool> published{false};
    auto waiter = std::async(std::launch::async, [&] {
        waiting.count_down();
        auto state = feed.waitForChange(seen, 10s);
        return std::pair(state, published.load());
    });
    waiting.wait();
    EXPECT_EQ(waiter.wait_for(0s), std::future_status::timeout) << "the waiter returned with nothing new";
    published = true;
    feed.publishPicture("png-1", 4242);
    auto [state, afterPublishing] = waiter.get();
    EXPECT_TRUE(afterPublishing) << "the waiter returned before the picture was published";
    ASSERT_TRUE(state);
    EXPECT_EQ(state->picture, 1u);
    EXPECT_EQ(state->process, 4242);
    EXPECT_TRUE(state->running());
    EXPECT_EQ(*feed.picture(), "png-1");
}

TEST(PictureFeed, NothingNewMeansATimeoutAndAnEarlierVersionAnswersAtOnce) {
    PictureFeed feed;
    feed.publishPicture("png-1", 7);
    std::uint64_t now = feed.state().version;
    auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(feed.waitForChange(now, 30ms));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 30ms);
    auto earlier = feed.waitForChange(now - 1, 0ms);
    ASSERT_TRUE(earlier);
    EXPECT_EQ(earlier->version, now);
}

TEST(PictureFeed, AnEndedAppKeepsItsLastPictureAndAStartClearsTheNote) {
    PictureFeed feed;
    EXPECT_EQ(feed.picture(), nullptr);
    feed.publishPicture("png-1", 7);
    feed.publishPicture("png-2", 8);
    feed.publishEnded("the Music app ended with status 1");
    StudioState ended = feed.state();
    EXPECT_FALSE(ended.running());
    EXPECT_EQ(ended.picture, 2u);
    EXPECT_EQ(ended.note, "the Music app ended with status 1");
    EXPECT_EQ(*feed.picture(), "png-2");

    feed.publishStarting();
    StudioState starting = feed.state();
    EXPECT_FALSE(starting.running());
    EXPECT_TRUE(starting.note.empty());
    EXPECT_GT(starting.version, ended.version);
}

TEST(PictureFeed, ClosingReleasesEveryWaiterAtOnce) {
    PictureFeed feed;
    std::uint64_t seen = feed.state().version;
    std::latch waiting(3);
    std::atomic<bool> closing{false};
    std::vector<std::future<std::pair<std::optional<StudioState>, bool>>> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.push_back(std::async(std::launch::async, [&] {
            waiting.count_down();
            auto state = feed.waitForChange(seen, 60s);
            return std::pair(state, closing.load());
        }));
    waiting.wait();
    for (auto& waiter : waiters) EXPECT_EQ(waiter.wait_for(0s), std::future_status::timeout) << "a waiter returned with nothing new";
    auto closed = std::chrono::steady_clock::now();
    closing = true;
    feed.close();
    for (auto& waiter : waiters) {
        auto [state, afterClosing] = waiter.get();
        EXPECT_FALSE(state);
        EXPECT_TRUE(afterClosing) << "a waiter returned before the feed closed";
    }
    EXPECT_LT(std::chrono::steady_clock::now() - closed, 5s);
    EXPECT_TRUE(feed.closed());
    feed.publishPicture("png-late", 9);
    EXPECT_FALSE(feed.waitForChange(0, 0ms)) << "a closed feed keeps no one waiting";
}

}  // namespace
