// NSProcessInfo: the process's name (settable by hosts that play an app) and identifier.
#include <Foundation/NSProcessInfo.h>

#include <unistd.h>

#include <cerrno>
#include <mutex>

namespace {

Class gNSProcessInfo = nullptr;

std::mutex gNameLock;
std::string* gName = nullptr;  // set by a host; the executable's name otherwise

}  // namespace

namespace platform {

void setProcessName(std::string name) {
    std::lock_guard lock(gNameLock);
    if (!gName) gName = new std::string;  // never destroyed: logging may happen during exit
    *gName = std::move(name);
}

std::string processName() {
    std::lock_guard lock(gNameLock);
    if (gName) return *gName;
    return program_invocation_short_name;
}

}  // namespace platform

Class NSProcessInfo::class_() { return gNSProcessInfo; }

void NSProcessInfo::registerClass() {
    gNSProcessInfo = objc::ClassBuilder<NSProcessInfo>("NSProcessInfo", NSObject::class_())
                         .classMethod(sel<"processInfo">(),
                                      [](Class, SEL) {
                                          static NSProcessInfo* shared = [] {
                                              auto* info = objc::createInstance<NSProcessInfo>(gNSProcessInfo);
                                              info->retainCount_.store(1L << 60, std::memory_order_relaxed);
                                              return info;
                                          }();
                                          return shared;
                                      })
                         .method(sel<"processName">(), [](NSProcessInfo*, SEL) { return objc::str(platform::processName()); })
                         .method(sel<"processIdentifier">(), [](NSProcessInfo*, SEL) { return static_cast<int>(::getpid()); })
                         .registerClass();
}
