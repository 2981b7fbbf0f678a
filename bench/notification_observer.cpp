// The far end of the notification benchmark: on every callback writes the CLOCK_MONOTONIC time (ns) to stdout.
#include <CoreFoundation/CoreFoundation.h>
#include <device/device.h>

#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

namespace {

void stamp(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::int64_t nanoseconds = std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
    if (write(STDOUT_FILENO, &nanoseconds, sizeof nanoseconds) != sizeof nanoseconds) CFRunLoopStop(CFRunLoopGetMain());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <device root> <name>\n", argv[0]);
        return 2;
    }
    device::setRoot(argv[1]);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, stamp,
                                    CFStringCreateWithCString(nullptr, argv[2], kCFStringEncodingUTF8), nullptr,
                                    CFNotificationSuspensionBehaviorCoalesce);
    std::int64_t ready = 0;
    if (write(STDOUT_FILENO, &ready, sizeof ready) != sizeof ready) return 1;
    CFRunLoopRun();
    return 0;
}
