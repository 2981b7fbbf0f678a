// A drawing process's second thread: each screen encoded, written and handed back while the next one is drawn.
#pragma once

#include "preview_frames.h"

#include <render/Renderer.h>

#include <condition_variable>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

namespace obscuro::cli {

class ScreenWriter {
public:
    // Screens go to the pipe `framesFd` in the order they are given, thumbnails shrunk by `shrink`.
    ScreenWriter(int framesFd, int shrink);
    ScreenWriter(const ScreenWriter&) = delete;
    ScreenWriter& operator=(const ScreenWriter&) = delete;
    // Waits for what was given; a fault then goes unreported, so call finish() first.
    ~ScreenWriter();

    // Gives a drawn screen to write as `picture` and to hand back; waits while the one before it
    // is still waiting. Throws what writing an earlier screen met.
    void write(std::filesystem::path picture, DrawnScreen screen, render::DrawnPixels pixels);

    // Waits for every screen given; throws what writing one of them met.
    void finish();

private:
    struct Work {
        std::filesystem::path picture;
        DrawnScreen screen;
        render::DrawnPixels pixels;
    };

    void run();
    void stop();

    const int framesFd_;
    const int shrink_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Work> waiting_;
    bool closing_ = false;
    std::exception_ptr fault_;
    std::thread thread_;  // last: it starts once everything above is ready
};

}  // namespace obscuro::cli
