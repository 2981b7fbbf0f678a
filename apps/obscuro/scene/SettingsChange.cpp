// Posting the settings-changed notification and turning the main run loop until it arrives.
#include "SettingsChange.h"

#include "SceneRunner.h"

#include <CoreFoundation/CFNotificationCenter.h>
#include <CoreFoundation/RunLoop.h>

#include <chrono>

namespace obscuro::scene {

namespace {

// A notification crosses a local socket and one turn of the run loop; two seconds is plenty.
constexpr double kReloadWaitSeconds = 2.0;

CFStringRef settingsChangedName() { return CFSTR("com.tarnwick.obscurosettings/settingschanged"); }

// Set on the main run loop when the notification reaches this process.
bool gSettingsChangeArrived = false;

void noteSettingsChange(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { gSettingsChangeArrived = true; }

}  // namespace

SettingsChangeListener::SettingsChangeListener() {
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), this, noteSettingsChange, settingsChangedName(), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
}

SettingsChangeListener::~SettingsChangeListener() { CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this); }

void SettingsChangeListener::announce(const std::string& where) {
    gSettingsChangeArrived = false;
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), settingsChangedName(), nullptr, nullptr, true);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(kReloadWaitSeconds);
    while (!gSettingsChangeArrived) {
        double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) throw RunFailure(where + ": the settings-changed notification did not arrive within 2 seconds");
        platform::RunLoop::main().runFor(left, true);
    }
}

}  // namespace obscuro::scene
