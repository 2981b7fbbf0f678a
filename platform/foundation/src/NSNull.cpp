// NSNull: the shared placeholder for "nothing" inside collections.
#include <Foundation/NSNull.h>
#include <Foundation/NSString.h>

namespace {
Class gNSNull = nullptr;
}

Class NSNull::class_() { return gNSNull; }

void NSNull::registerClass() {
    gNSNull = objc::ClassBuilder<NSNull>("NSNull", NSObject::class_())
                  .classMethod(sel<"null">(),
                               [](Class, SEL) {
                                   static NSNull* shared = [] {
                                       auto* n = objc::createInstance<NSNull>(gNSNull);
                                       n->retainCount_.store(1L << 60, std::memory_order_relaxed);
                                       return n;
                                   }();
                                   return shared;
                               })
                  .method(sel<"description">(), [](NSNull*, SEL) { return NSSTR("<null>"); })
                  .method(sel<"copy">(), [](NSNull* self, SEL) -> id { return self; })
                  .registerClass();
}
