// The run loop's C interface with the phone's names and result codes.
#pragma once

#include <CoreFoundation/CFBase.h>

#include <functional>

namespace platform {
class RunLoop;
}

using CFRunLoopRef = platform::RunLoop*;
using CFRunLoopMode = CFStringRef;

// Every source belongs to every mode here, so the mode names are accepted and otherwise ignored.
#define kCFRunLoopDefaultMode CFSTR("kCFRunLoopDefaultMode")
#define kCFRunLoopCommonModes CFSTR("kCFRunLoopCommonModes")

enum : SInt32 {
    kCFRunLoopRunFinished = 1,
    kCFRunLoopRunStopped = 2,
    kCFRunLoopRunTimedOut = 3,
    kCFRunLoopRunHandledSource = 4,
};

CFRunLoopRef CFRunLoopGetMain();
CFRunLoopRef CFRunLoopGetCurrent();

// Runs the current thread's loop until CFRunLoopStop or until it has nothing to wait for.
void CFRunLoopRun();
// Runs the current thread's loop for at most `seconds`; returns one of kCFRunLoopRun….
SInt32 CFRunLoopRunInMode(CFRunLoopMode mode, CFTimeInterval seconds, Boolean returnAfterSourceHandled);
void CFRunLoopStop(CFRunLoopRef loop);
void CFRunLoopWakeUp(CFRunLoopRef loop);
// Runs `block` on `loop`'s thread at its next turn. A nil loop or empty block is ignored.
void CFRunLoopPerformBlock(CFRunLoopRef loop, CFTypeRef mode, std::function<void()> block);
