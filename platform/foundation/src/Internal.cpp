// Descriptions and the exceptions Foundation raises, worded as the phone words them.
#include "Internal.h"

namespace foundation {

std::string describe(id object) {
    if (!object) return "(null)";
    return objc::utf8(msg<NSString*>(object, sel<"description">()));
}

namespace {

std::string methodName(id receiver, SEL sel) {
    if (!receiver) return "";
    bool isClass = class_isMetaClass(object_getClass(receiver));
    Class cls = isClass ? reinterpret_cast<Class>(receiver) : object_getClass(receiver);
    return std::string(isClass ? "+[" : "-[") + objc::utf8(NSStringFromClass(cls)) + " " + sel_getName(sel) + "]: ";
}

}  // namespace

void raiseRange(id receiver, SEL sel, const std::string& detail) {
    NSException::raise("NSRangeException", methodName(receiver, sel) + detail);
}

void raiseInvalidArgument(id receiver, SEL sel, const std::string& detail) {
    NSException::raise("NSInvalidArgumentException", methodName(receiver, sel) + detail);
}

}  // namespace foundation
