// A second process for the notification tests: observes one name on its main run loop and reports on stdout.
//   notification_observer <device root> <name> once   — prints "ready", then one line per callback, exits after the first
//   notification_observer <device root> <name> count  — prints "ready", waits for a line on stdin, runs its loop
//                                                        briefly and prints "callbacks <n>"
//   notification_observer <device root> <name> idle   — prints "ready" and never runs its loop
#include <CoreFoundation/CoreFoundation.h>
#include <device/device.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace {

int callbacks = 0;
bool describeCallbacks = false;
int observerToken;

void observe(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object, CFDictionaryRef userInfo) {
    ++callbacks;
    if (!describeCallbacks) return;
    std::printf("callback name=%s center=%s observer=%s object=%s userInfo=%s\n", CFStringGetCStringPtr(name, kCFStringEncodingUTF8),
                center == CFNotificationCenterGetDarwinNotifyCenter() ? "darwin" : "other", observer == &observerToken ? "token" : "other",
                object ? "set" : "nil", userInfo ? "set" : "nil");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <device root> <name> once|count|idle\n", argv[0]);
        return 2;
    }
    device::setRoot(argv[1]);
    std::string mode = argv[3];
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &observerToken, observe,
                                    CFStringCreateWithCString(nullptr, argv[2], kCFStringEncodingUTF8), nullptr,
                                    CFNotificationSuspensionBehaviorCoalesce);
    std::printf("ready\n");
    std::fflush(stdout);

    if (mode == "once") {
        describeCallbacks = true;
        while (callbacks == 0)
            if (CFRunLoopRunInMode(kCFRunLoopDefaultMode, 10, true) == kCFRunLoopRunTimedOut) return 1;
        return 0;
    }
    if (mode == "count") {
        std::string go;
        std::getline(std::cin, go);
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.3, false);
        std::printf("callbacks %d\n", callbacks);
        return 0;
    }
    if (mode == "idle") {
        for (;;) pause();
    }
    return 2;
}
