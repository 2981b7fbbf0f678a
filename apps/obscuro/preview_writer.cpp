// A drawing process's second thread: a one-place queue between the drawing and the encoding.
#include "preview_writer.h"

#include <utility>

namespace obscuro::cli {

ScreenWriter::ScreenWriter(int framesFd, int shrink) : framesFd_(framesFd), shrink_(shrink), thread_(&ScreenWriter::run, this) {}

ScreenWriter::~ScreenWriter() { stop(); }

void ScreenWriter::write(std::filesystem::path picture, DrawnScreen screen, render::DrawnPixels pixels) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return !waiting_ || fault_; });
    if (fault_) std::rethrow_exception(fault_);
    waiting_.emplace(Work{std::move(picture), std::move(screen), std::move(pixels)});
    changed_.notify_all();
}

void ScreenWriter::finish() {
    stop();
    if (fault_) std::rethrow_exception(fault_);
}

void ScreenWriter::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ScreenWriter::run() {
    for (;;) {
        std::optional<Work> work;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return waiting_ || closing_; });
            if (!waiting_) return;
            work = std::move(waiting_);
            waiting_.reset();
        }
        changed_.notify_all();
        try {
            render::EncodedDrawing drawing = work->pixels.encode(shrink_);
            work->pixels = {};  // its surface is free for the next drawing
            render::writePNGFile(drawing.png, work->picture);
            work->screen.thumbnail = std::move(drawing.thumbnail);
            sendDrawnScreen(framesFd_, work->screen);
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex_);
            fault_ = std::current_exception();
            waiting_.reset();
            changed_.notify_all();
            return;
        }
    }
}

}  // namespace obscuro::cli
