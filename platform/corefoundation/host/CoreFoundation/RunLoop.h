// The run loop as C++ hosts use it: file-descriptor sources, timers and blocks performed on a loop's thread.
#pragma once

#include <CoreFoundation/CFBase.h>

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// One run loop per thread. The main thread's loop is the main run loop: notification
// callbacks and blocks sent to the main queue run there. Sources and timers belong to every
// mode. Adding, removing, performing and stopping are safe from any thread; the loop runs its
// callbacks on the thread that runs it, never while holding its own lock, so a callback may
// add or remove sources (its own included) or run the loop again.
class RunLoop {
public:
    using SourceId = std::uint64_t;

    // Why a run returned; the values are the phone's kCFRunLoopRun… codes.
    enum class Result : SInt32 { Finished = 1, Stopped = 2, TimedOut = 3, HandledSource = 4 };

    static RunLoop& main();
    static RunLoop& current();  // the calling thread's loop: main() on the main thread

    // Calls `readable` on this loop whenever `fd` can be read (or has hung up). The loop
    // does not own the descriptor; remove the source before closing it.
    SourceId addFileDescriptor(int fd, std::function<void()> readable);
    // Calls `fire` after `seconds`, and every `seconds` after that when `repeats`.
    SourceId addTimer(CFTimeInterval seconds, bool repeats, std::function<void()> fire);
    // Removes a source or timer; after this returns on the loop's thread it is not called again.
    // Unknown ids are ignored.
    void removeSource(SourceId source);

    // Runs `block` once on this loop's thread at its next turn, in the order performed.
    void perform(std::function<void()> block);

    // Runs until stop() or until nothing is left to wait for (no source, timer or block).
    void run();
    // Runs for at most `seconds` (zero: handle what is ready now); with
    // `returnAfterSourceHandled`, returns after the first turn that handled something.
    Result runFor(CFTimeInterval seconds, bool returnAfterSourceHandled);
    // Makes the innermost run of this loop return Stopped; a stop with no run in progress
    // makes the next run return at once.
    void stop();
    // Interrupts a wait so the loop looks at its sources again.
    void wakeUp();

    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;
    ~RunLoop();

private:
    RunLoop();
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace platform
