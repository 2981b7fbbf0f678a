// The observers behind TweakLoadRecorder: hook calls, missed class lookups and resolved device paths.
#include "TweakLoadRecord.h"

#include <device/device.h>
#include <objc/swift.h>
#include <substrate/HookObserver.h>

#include <algorithm>
#include <mutex>
#include <utility>

namespace music {

namespace {

std::mutex gLock;
TweakLoadRecord gRecord;
// The class name a thread last looked up in vain: the tweak looks a class up and hands the
// result to MSHookMessageEx, so a hook on a nil class names the lookup that just failed.
thread_local std::string tLastMissedClass;

void appendOnce(std::vector<std::string>& list, std::string value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) list.push_back(std::move(value));
}

void classLookupMissed(const char* name) {
    tLastMissedClass = name;
    std::lock_guard lock(gLock);
    appendOnce(gRecord.classesAbsent, name);
}

void pathResolved(std::string_view devicePath) {
    std::lock_guard lock(gLock);
    appendOnce(gRecord.devicePaths, std::string(devicePath));
}

void hookCalled(Class cls, SEL selector, bool installed) {
    HookCall call;
    if (cls) {
        call.classSide = class_isMetaClass(cls);
        // A metaclass carries its class's name, so both sides read as NSStringFromClass would.
        call.className = objc::swiftDemangledClassName(class_getName(cls));
    } else {
        call.className = tLastMissedClass.empty() ? "(nil class)" : tLastMissedClass;
    }
    tLastMissedClass.clear();
    call.selector = sel_getName(selector);
    call.installed = installed;
    std::lock_guard lock(gLock);
    gRecord.hooks.push_back(std::move(call));
}

void stopObserving() {
    platform::setHookObserver(nullptr);
    objc_setClassLookupMissObserver(nullptr);
    device::setResolveObserver(nullptr);
}

}  // namespace

TweakLoadRecorder::TweakLoadRecorder() {
    {
        std::lock_guard lock(gLock);
        gRecord = {};
    }
    tLastMissedClass.clear();
    platform::setHookObserver(hookCalled);
    objc_setClassLookupMissObserver(classLookupMissed);
    device::setResolveObserver(pathResolved);
}

TweakLoadRecorder::~TweakLoadRecorder() {
    if (recording_) stopObserving();
}

TweakLoadRecord TweakLoadRecorder::finish() {
    if (recording_) stopObserving();
    recording_ = false;
    std::lock_guard lock(gLock);
    return std::exchange(gRecord, {});
}

}  // namespace music
