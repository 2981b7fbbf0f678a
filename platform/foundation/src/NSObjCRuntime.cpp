// Class and selector names as strings, and the descriptions every object answers.
#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSRange.h>
#include <Foundation/NSString.h>

#include <objc/swift.h>

#include <cstdio>

NSString* NSStringFromClass(Class cls) {
    if (!cls) return nullptr;
    return objc::str(objc::swiftDemangledClassName(class_getName(cls)));
}

Class NSClassFromString(NSString* name) { return name ? objc_getClass(name->utf8().c_str()) : nullptr; }

NSString* NSStringFromSelector(SEL sel) { return sel ? objc::str(sel_getName(sel)) : nullptr; }

SEL NSSelectorFromString(NSString* name) { return name ? sel_registerName(name->utf8().c_str()) : nullptr; }

NSString* NSStringFromRange(NSRange range) {
    return objc::str("{" + std::to_string(range.location) + ", " + std::to_string(range.length) + "}");
}

namespace foundation {

// "<Music.NowPlayingViewController: 0x5581…>": what NSObject answers to description, and
// what a class answers with its readable name.
void addObjectDescriptions() {
    auto instanceDescription = [](id self, SEL) -> NSString* {
        char address[32];
        std::snprintf(address, sizeof address, "%p", static_cast<void*>(self));
        return objc::str("<" + objc::utf8(NSStringFromClass(object_getClass(self))) + ": " + address + ">");
    };
    auto classDescription = [](Class self, SEL) -> NSString* { return NSStringFromClass(self); };
    Class root = NSObject::class_();
    Class rootMeta = object_getClass(reinterpret_cast<id>(root));
    objc::addMethod(root, sel<"description">(), instanceDescription);
    objc::addMethod(root, sel<"debugDescription">(), [](id self, SEL) -> NSString* { return msg<NSString*>(self, sel<"description">()); });
    objc::addMethod(rootMeta, sel<"description">(), classDescription);
    objc::addMethod(rootMeta, sel<"debugDescription">(), classDescription);
}

}  // namespace foundation
