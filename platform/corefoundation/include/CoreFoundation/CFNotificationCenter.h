// The Darwin notification centre: names posted in one process reach observers in every process of the device.
#pragma once

#include <CoreFoundation/CFBase.h>

struct CFNotificationCenter;
using CFNotificationCenterRef = CFNotificationCenter*;

// Dictionaries do not cross processes: the Darwin centre always delivers a nil userInfo.
struct CFDictionaryStorage;
using CFDictionaryRef = const CFDictionaryStorage*;

using CFNotificationCallback = void (*)(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object,
                                        CFDictionaryRef userInfo);

// What the phone does with notifications for a suspended app. Processes here are never
// suspended, so only Coalesce changes what arrives: several posts of a name that reach the
// process before its main run loop turns give one callback. The others call back once per post.
enum CFNotificationSuspensionBehavior : CFIndex {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

// The one Darwin centre of this process; the same pointer on every call.
CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// Calls `callback` on this process's main run loop whenever `name` is posted in any process
// of the same device (this one included), with `observer` passed back, a nil object and a nil
// userInfo. Registering the same observer, callback and name again changes nothing. A nil
// centre, callback or name, or a name that cannot travel (empty, a line break, 4 KiB or more),
// registers nothing; the last two are reported on stderr. `object` is ignored, as on the phone.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer, CFNotificationCallback callback,
                                     CFStringRef name, const void* object, CFNotificationSuspensionBehavior suspensionBehavior);

// Removes `observer`'s registrations for `name`, or for every name when `name` is nil.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, CFStringRef name, const void* object);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);

// Sends `name` to every observing process of the device; returns once the notifications are
// queued, without waiting for any callback. With no observer anywhere it does nothing.
// `object` and `userInfo` are not delivered (the Darwin centre carries names only), and every
// post is delivered as soon as the observer's run loop turns, whatever `deliverImmediately` says.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void* object,
                                          CFDictionaryRef userInfo, Boolean deliverImmediately);
