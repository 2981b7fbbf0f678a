// The C run-loop calls, forwarding to platform::RunLoop.
#include <CoreFoundation/CFRunLoop.h>
#include <CoreFoundation/RunLoop.h>

CFRunLoopRef CFRunLoopGetMain() { return &platform::RunLoop::main(); }

CFRunLoopRef CFRunLoopGetCurrent() { return &platform::RunLoop::current(); }

void CFRunLoopRun() { platform::RunLoop::current().run(); }

SInt32 CFRunLoopRunInMode(CFRunLoopMode, CFTimeInterval seconds, Boolean returnAfterSourceHandled) {
    return static_cast<SInt32>(platform::RunLoop::current().runFor(seconds, returnAfterSourceHandled));
}

void CFRunLoopStop(CFRunLoopRef loop) {
    if (loop) loop->stop();
}

void CFRunLoopWakeUp(CFRunLoopRef loop) {
    if (loop) loop->wakeUp();
}

void CFRunLoopPerformBlock(CFRunLoopRef loop, CFTypeRef, std::function<void()> block) {
    if (loop && block) loop->perform(std::move(block));
}
