// GlyphImageCache: one composition per key, however many threads ask at the same moment.
#include "GlyphImageCache.h"

#include <Foundation/Foundation.h>
#include <objc/Strong.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace obscuro {
namespace {

std::atomic<int> compositions{0};

id slowComposition(id key) {
    compositions.fetch_add(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // wide window for a second composer
    return objc::autorelease(msg<id>(key, sel<"copy">()));
}

TEST(GlyphImageCache, ComposesEachKeyOnceUnderConcurrentRequests) {
    createGlyphImageCache();
    constexpr int kThreads = 8;
    std::vector<id> results(kThreads * 2);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &results] {
            objc::AutoreleasePool pool;
            results[t * 2] = glyphImage(NSSTR("MissingArtworkMusicNote-dark"), slowComposition);
            results[t * 2 + 1] = glyphImage(t % 2 ? NSSTR("PlaylistSmartIcon-dark") : NSSTR("PlaylistAddIcon-dark"), slowComposition);
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(compositions.load(), 3);
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(results[t * 2], results[0]) << "every caller gets the one cached image";
}

}  // namespace
}  // namespace obscuro
