// Loading libplatform registers every framework's classes, in dependency order, before any host code runs.
#include <objc/NSObject.h>

// Each framework registers its classes in one function. A framework not built into this
// library leaves its symbol undefined, and loading skips it.
namespace platform {
void registerFoundationClasses() __attribute__((weak));
void registerCoreImageClasses() __attribute__((weak));
void registerUIKitClasses() __attribute__((weak));
void registerPreferencesClasses() __attribute__((weak));
}  // namespace platform

namespace {

__attribute__((constructor)) void registerFrameworks() {
    objc::registerRootClass();
    for (auto* registerClasses : {platform::registerFoundationClasses, platform::registerCoreImageClasses,
                                  platform::registerUIKitClasses, platform::registerPreferencesClasses})
        if (registerClasses) registerClasses();
}

}  // namespace
