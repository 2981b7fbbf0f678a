// GlyphImageCache: one composition per key, however many threads ask at the same moment.
#include "GlyphImageCache.h"

#include <Foundation/Foundation.h>
#include <objc/Strong.h>

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <thread>
#include <vector>

namespace obscuro {
namespace {

constexpr int kThreads = 8;
std::atomic<int> compositions{0};
std::latch everyThreadAsking{kThreads};

// Holds the first composition until every thread is about to ask, so that they all ask while a
// composition is under way.
id heldComposition(id key) {
    compositions.fetch_add(1);
    everyThreadAsking.wait();
    return objc::autorelease(msg<id>(key, sel<"copy">()));
}

TEST(GlyphImageCache, ComposesEachKeyOnceUnderConcurrentRequests) {
    createGlyphImageCache();
    std::vector<id> results(kThreads * 2);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &results] {
            objc::AutoreleasePool pool;
            everyThreadAsking.count_down();
            results[t * 2] = glyphImage(NSSTR("MissingArtworkMusicNote-dark"), heldComposition);
            results[t * 2 + 1] = glyphImage(t % 2 ? NSSTR("PlaylistSmartIcon-dark") : NSSTR("PlaylistAddIcon-dark"), heldComposition);
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(compositions.load(), 3);
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(results[t * 2], results[0]) << "every caller gets the one cached image";
}

}  // namespace
}  // namespace obscuro
