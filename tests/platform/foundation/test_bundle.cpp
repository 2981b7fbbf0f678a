// A bundle's library for the NSBundle tests: loading it registers the class its Info.plist names.
#include <objc/NSObject.h>

namespace {

__attribute__((constructor)) void registerPrincipalClass() {
    objc::ClassBuilder<NSObject>("FoundationTestPrincipal", NSObject::class_())
        .classMethod(sel<"greeting">(), [](Class, SEL) -> const char* { return "loaded"; })
        .registerClass();
}

}  // namespace
