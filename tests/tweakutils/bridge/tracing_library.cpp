// A stand-in tracing library: records each call it gets with its arguments, for the bridge tests to read back.
#include <objc/runtime.h>

#include <mutex>
#include <string>

namespace {

std::mutex gLock;
std::string gCalls;

void record(const char* function, const std::string& arguments) {
    std::lock_guard lock(gLock);
    gCalls += std::string(function) + "(" + arguments + ")\n";
}

// An object is recorded with its reference count as the library sees it during the call.
std::string object(id obj) { return std::string(class_getName(object_getClass(obj))) + " count " + std::to_string(objc_retainCount(obj)); }

}  // namespace

#define TRACED extern "C" __attribute__((visibility("default")))

// Every call received so far, one per line.
TRACED const char* tracingCalls() {
    static std::string copy;
    std::lock_guard lock(gLock);
    copy = gCalls;
    return copy.c_str();
}

TRACED void InspectiveC_setMaximumRelativeLoggingDepth(int depth) { record(__func__, std::to_string(depth)); }
TRACED void InspectiveC_watchObject(id obj) { record(__func__, object(obj)); }
TRACED void InspectiveC_unwatchObject(id obj) { record(__func__, object(obj)); }
TRACED void InspectiveC_watchSelectorOnObject(id obj, SEL sel) { record(__func__, object(obj) + ", " + sel_getName(sel)); }
TRACED void InspectiveC_unwatchSelectorOnObject(id obj, SEL sel) { record(__func__, object(obj) + ", " + sel_getName(sel)); }
TRACED void InspectiveC_watchInstancesOfClass(Class cls) { record(__func__, class_getName(cls)); }
TRACED void InspectiveC_unwatchInstancesOfClass(Class cls) { record(__func__, class_getName(cls)); }
TRACED void InspectiveC_watchSelectorOnInstancesOfClass(Class cls, SEL sel) { record(__func__, std::string(class_getName(cls)) + ", " + sel_getName(sel)); }
TRACED void InspectiveC_unwatchSelectorOnInstancesOfClass(Class cls, SEL sel) {
    record(__func__, std::string(class_getName(cls)) + ", " + sel_getName(sel));
}
#ifndef WITHOUT_WATCH_SELECTOR
TRACED void InspectiveC_watchSelector(SEL sel) { record(__func__, sel_getName(sel)); }
#endif
TRACED void InspectiveC_unwatchSelector(SEL sel) { record(__func__, sel_getName(sel)); }
TRACED void InspectiveC_enableLogging() { record(__func__, ""); }
TRACED void InspectiveC_disableLogging() { record(__func__, ""); }
TRACED void InspectiveC_enableCompleteLogging() { record(__func__, ""); }
TRACED void InspectiveC_disableCompleteLogging() { record(__func__, ""); }
TRACED void InspectiveC_flushLogFile() { record(__func__, ""); }
