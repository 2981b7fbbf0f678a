// A poll()-based run loop: descriptor sources, timers, performed blocks and an eventfd to wake it.
#include <CoreFoundation/RunLoop.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;
using Callback = std::shared_ptr<std::function<void()>>;

// Waits longer than this are treated as "forever"; it keeps deadline arithmetic from overflowing.
constexpr CFTimeInterval kForever = 1e9;

struct Source {
    bool isTimer = false;
    int fd = -1;
    Clock::time_point due{};
    Clock::duration interval{};
    bool repeats = false;
    // Shared so that a callback that removes its own source keeps running to its end.
    Callback callback;
};

Clock::duration toDuration(CFTimeInterval seconds) {
    seconds = std::clamp(seconds, 0.0, kForever);
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

bool isMainThread() { return gettid() == getpid(); }

}  // namespace

struct RunLoop::State {
    std::mutex lock;
    std::map<SourceId, Source> sources;  // ordered by id: sources fire in the order they were added
    std::deque<std::function<void()>> blocks;
    SourceId nextId = 1;
    bool stopRequested = false;
    int wakeFd = -1;

    bool takeStop() {
        std::lock_guard guard(lock);
        return std::exchange(stopRequested, false);
    }

    // The callback of a source that is still registered, or none.
    Callback callbackOf(SourceId id) {
        std::lock_guard guard(lock);
        auto it = sources.find(id);
        return it == sources.end() ? nullptr : it->second.callback;
    }

    bool runBlocks() {
        std::deque<std::function<void()>> pending;
        {
            std::lock_guard guard(lock);
            pending.swap(blocks);
        }
        for (auto& block : pending) block();
        return !pending.empty();
    }

    bool fireDueTimers() {
        std::vector<SourceId> due;
        auto now = Clock::now();
        {
            std::lock_guard guard(lock);
            for (auto& [id, source] : sources)
                if (source.isTimer && source.due <= now) due.push_back(id);
        }
        bool fired = false;
        for (SourceId id : due) {
            Callback callback;
            {
                std::lock_guard guard(lock);
                auto it = sources.find(id);
                if (it == sources.end()) continue;
                callback = it->second.callback;
                if (it->second.repeats) {
                    // A loop that fell behind skips the missed firings instead of replaying them.
                    it->second.due += it->second.interval;
                    if (it->second.due <= now) it->second.due = now + it->second.interval;
                } else {
                    sources.erase(it);
                }
            }
            (*callback)();
            fired = true;
        }
        return fired;
    }

    // Called with `lock` held: a loop is destroyed with its thread, and its destructor takes the
    // lock before closing the descriptor, so a wake-up from another thread never writes to a
    // closed (or reused) one.
    void wakeUpLocked() {
        if (wakeFd >= 0) eventfd_write(wakeFd, 1);
    }

    void drainWakeups() {
        eventfd_t ignored;
        eventfd_read(wakeFd, &ignored);
    }
};

RunLoop::RunLoop() : state_(std::make_unique<State>()) {
    state_->wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (state_->wakeFd < 0) std::perror("RunLoop: eventfd");
}

RunLoop::~RunLoop() {
    std::lock_guard guard(state_->lock);
    if (state_->wakeFd >= 0) close(state_->wakeFd);
}

RunLoop& RunLoop::main() {
    // Never destroyed: observers and timers may still refer to it while the process exits.
    static RunLoop* loop = new RunLoop;
    return *loop;
}

RunLoop& RunLoop::current() {
    if (isMainThread()) return main();
    thread_local std::unique_ptr<RunLoop> loop(new RunLoop);
    return *loop;
}

RunLoop::SourceId RunLoop::addFileDescriptor(int fd, std::function<void()> readable) {
    SourceId id;
    {
        std::lock_guard guard(state_->lock);
        id = state_->nextId++;
        Source source;
        source.fd = fd;
        source.callback = std::make_shared<std::function<void()>>(std::move(readable));
        state_->sources.emplace(id, std::move(source));
        state_->wakeUpLocked();
    }
    return id;
}

RunLoop::SourceId RunLoop::addTimer(CFTimeInterval seconds, bool repeats, std::function<void()> fire) {
    SourceId id;
    {
        std::lock_guard guard(state_->lock);
        id = state_->nextId++;
        Source source;
        source.isTimer = true;
        source.interval = toDuration(seconds);
        // A repeating timer with no interval would starve every other source.
        if (repeats) source.interval = std::max<Clock::duration>(source.interval, std::chrono::milliseconds(1));
        source.due = Clock::now() + source.interval;
        source.repeats = repeats;
        source.callback = std::make_shared<std::function<void()>>(std::move(fire));
        state_->sources.emplace(id, std::move(source));
        state_->wakeUpLocked();
    }
    return id;
}

void RunLoop::removeSource(SourceId source) {
    std::lock_guard guard(state_->lock);
    state_->sources.erase(source);
}

void RunLoop::perform(std::function<void()> block) {
    {
        std::lock_guard guard(state_->lock);
        state_->blocks.push_back(std::move(block));
        state_->wakeUpLocked();
    }
}

void RunLoop::stop() {
    {
        std::lock_guard guard(state_->lock);
        state_->stopRequested = true;
        state_->wakeUpLocked();
    }
}

void RunLoop::wakeUp() {
    std::lock_guard guard(state_->lock);
    state_->wakeUpLocked();
}

void RunLoop::run() {
    for (;;) {
        Result result = runFor(kForever, false);
        if (result == Result::Stopped || result == Result::Finished) return;
    }
}

RunLoop::Result RunLoop::runFor(CFTimeInterval seconds, bool returnAfterSourceHandled) {
    State& s = *state_;
    const auto deadline = Clock::now() + toDuration(seconds);
    for (;;) {
        if (s.takeStop()) return Result::Stopped;
        bool handled = s.runBlocks();
        if (s.takeStop()) return Result::Stopped;
        if (handled && returnAfterSourceHandled) return Result::HandledSource;

        std::vector<pollfd> fds{{s.wakeFd, POLLIN, 0}};
        std::vector<SourceId> fdSources;
        auto wakeAt = deadline;
        {
            std::lock_guard guard(s.lock);
            if (s.sources.empty() && s.blocks.empty()) return Result::Finished;
            for (auto& [id, source] : s.sources) {
                if (source.isTimer) {
                    wakeAt = std::min(wakeAt, source.due);
                } else {
                    fds.push_back({source.fd, POLLIN, 0});
                    fdSources.push_back(id);
                }
            }
            if (!s.blocks.empty()) wakeAt = Clock::now();
        }

        auto wait = std::chrono::ceil<std::chrono::milliseconds>(std::max(wakeAt - Clock::now(), Clock::duration::zero()));
        int timeout = static_cast<int>(std::min<long long>(wait.count(), 1000LL * 60 * 60));
        int ready = poll(fds.data(), fds.size(), timeout);
        if (ready < 0 && errno != EINTR) {
            std::perror("RunLoop: poll");
            return Result::Finished;
        }
        if (ready > 0 && fds[0].revents) s.drainWakeups();

        handled = s.fireDueTimers() || handled;
        for (std::size_t i = 1; ready > 0 && i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            SourceId id = fdSources[i - 1];
            if (fds[i].revents & POLLNVAL) {
                // Closed while still registered; dropping it keeps the loop from spinning on it.
                std::fprintf(stderr, "RunLoop: descriptor %d was closed before its source was removed; removing it\n", fds[i].fd);
                removeSource(id);
                continue;
            }
            if (Callback callback = s.callbackOf(id)) {
                (*callback)();
                handled = true;
            }
        }

        if (s.takeStop()) return Result::Stopped;
        if (handled && returnAfterSourceHandled) return Result::HandledSource;
        if (Clock::now() >= deadline) return Result::TimedOut;
    }
}

}  // namespace platform
