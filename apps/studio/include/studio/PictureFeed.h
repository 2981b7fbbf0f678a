// What the studio page shows of the running Music app: its latest picture and the process drawing it, with waits for the next change.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace studio {

struct StudioState {
    std::uint64_t version = 0;  // grows with every change below
    std::uint64_t picture = 0;  // the picture's number, from 1; 0 until the first one arrives
    pid_t process = 0;          // the Music app process that drew it; 0 when none runs
    std::string note;           // why no app runs, when none does; empty while one is starting
    std::string screen;         // the screen the latest picture shows; empty when the app did not say
    std::uint64_t described = 0;  // the number of the picture the latest description is of; 0 for none
    bool running() const { return process != 0; }
};

// Filled by the thread that follows the Music app, read by the page's requests; thread-safe.
class PictureFeed {
public:
    // A new picture (PNG bytes) drawn by `process`.
    void publishPicture(std::string png, pid_t process);
    // The same, showing `screen`.
    void publishPicture(std::string png, pid_t process, std::string screen);
    // The description of the latest picture (its views and their decisions, as the app wrote it).
    void publishDescription(nlohmann::ordered_json description);
    // An app is being started: not running yet, nothing to say about it.
    void publishStarting();
    // The app ended and nothing runs that draws the picture; the last picture stays.
    void publishEnded(std::string note);

    StudioState state() const;
    // The latest picture's bytes (shared, never changed after publishing); nil before the first.
    std::shared_ptr<const std::string> picture() const;
    // The latest description (shared, never changed after publishing); nil before the first.
    std::shared_ptr<const nlohmann::ordered_json> description() const;

    // Waits until the state's version differs from `seen`, then returns the state; nullopt when
    // `timeout` passed first or the feed is closed.
    std::optional<StudioState> waitForChange(std::uint64_t seen, std::chrono::milliseconds timeout) const;

    // Wakes every waiter for good: the page's event streams end so that the server can stop.
    void close();
    bool closed() const;

private:
    mutable std::mutex lock_;
    mutable std::condition_variable changed_;
    StudioState state_;
    std::shared_ptr<const std::string> picture_;
    std::shared_ptr<const nlohmann::ordered_json> description_;
    bool closed_ = false;
};

}  // namespace studio
