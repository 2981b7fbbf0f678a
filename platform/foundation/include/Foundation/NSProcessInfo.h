// NSProcessInfo: the running process's name and identifier.
#pragma once

#include <Foundation/NSString.h>

#include <string>

// Selectors: +processInfo -processName -processIdentifier(int)
class NSProcessInfo : public NSObject {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};

namespace platform {
// The name NSProcessInfo and NSLog report; by default the executable's file name. A host
// that plays an app sets the app's name ("Music").
void setProcessName(std::string name);
std::string processName();
}  // namespace platform
