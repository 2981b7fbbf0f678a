// The studio's picture feed: one lock around the state, a condition variable for the event streams.
#include <studio/PictureFeed.h>

namespace studio {

void PictureFeed::publishPicture(std::string png, pid_t process) { publishPicture(std::move(png), process, {}); }

void PictureFeed::publishPicture(std::string png, pid_t process, std::string screen) {
    auto bytes = std::make_shared<const std::string>(std::move(png));
    {
        std::lock_guard guard(lock_);
        picture_ = std::move(bytes);
        state_.screen = std::move(screen);
        ++state_.picture;
        state_.process = process;
        state_.note.clear();
        ++state_.version;
    }
    changed_.notify_all();
}

void PictureFeed::publishDescription(nlohmann::ordered_json description) {
    auto shared = std::make_shared<const nlohmann::ordered_json>(std::move(description));
    {
        std::lock_guard guard(lock_);
        description_ = std::move(shared);
        state_.described = state_.picture;
        ++state_.version;
    }
    changed_.notify_all();
}

void PictureFeed::publishStarting() {
    {
        std::lock_guard guard(lock_);
        state_.process = 0;
        state_.note.clear();
        ++state_.version;
    }
    changed_.notify_all();
}

void PictureFeed::publishEnded(std::string note) {
    {
        std::lock_guard guard(lock_);
        state_.process = 0;
        state_.note = std::move(note);
        ++state_.version;
    }
    changed_.notify_all();
}

StudioState PictureFeed::state() const {
    std::lock_guard guard(lock_);
    return state_;
}

std::shared_ptr<const std::string> PictureFeed::picture() const {
    std::lock_guard guard(lock_);
    return picture_;
}

std::shared_ptr<const nlohmann::ordered_json> PictureFeed::description() const {
    std::lock_guard guard(lock_);
    return description_;
}

std::optional<StudioState> PictureFeed::waitForChange(std::uint64_t seen, std::chrono::milliseconds timeout) const {
    std::unique_lock guard(lock_);
    if (!changed_.wait_for(guard, timeout, [&] { return closed_ || state_.version != seen; }) || closed_) return std::nullopt;
    return state_;
}

void PictureFeed::close() {
    {
        std::lock_guard guard(lock_);
        closed_ = true;
    }
    changed_.notify_all();
}

bool PictureFeed::closed() const {
    std::lock_guard guard(lock_);
    return closed_;
}

}  // namespace studio
