// The message-tracing bridge: sixteen exported calls that drive the optional InspectiveC library in this process.
#pragma once

#include <objc/objc.h>

// Each export loads "/usr/lib/libinspectivec.dylib" on the first call of any of them (once per
// process, never retried) and then forwards its arguments unchanged to the library's function,
// or does nothing when the library or that function is missing. A missing library or function
// is logged once, at that first call. Any thread may call them. The object-taking exports keep
// the object alive for the duration of the call.
#define INSPECTIVEC_EXPORT extern "C" __attribute__((visibility("default")))

INSPECTIVEC_EXPORT void setMaximumRelativeLoggingDepth(int depth);
INSPECTIVEC_EXPORT void watchObject(id obj);
INSPECTIVEC_EXPORT void unwatchObject(id obj);
INSPECTIVEC_EXPORT void watchSelectorOnObject(id obj, SEL selector);
INSPECTIVEC_EXPORT void unwatchSelectorOnObject(id obj, SEL selector);
// The class calls reach the library's functions for instances of the class.
INSPECTIVEC_EXPORT void watchClass(Class cls);
INSPECTIVEC_EXPORT void unwatchClass(Class cls);
INSPECTIVEC_EXPORT void watchSelectorOnClass(Class cls, SEL selector);
INSPECTIVEC_EXPORT void unwatchSelectorOnClass(Class cls, SEL selector);
INSPECTIVEC_EXPORT void watchSelector(SEL selector);
INSPECTIVEC_EXPORT void unwatchSelector(SEL selector);
INSPECTIVEC_EXPORT void enableLogging();
INSPECTIVEC_EXPORT void disableLogging();
INSPECTIVEC_EXPORT void enableCompleteLogging();
INSPECTIVEC_EXPORT void disableCompleteLogging();
INSPECTIVEC_EXPORT void flushLogFile();
