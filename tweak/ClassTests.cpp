// Class-name comparisons without building strings, remembered lookups and the responder walk.
#include "ClassTests.h"

#include <objc/message.h>
#include <objc/swift.h>

#include <cstring>

namespace obscuro {

Class RememberedClass::get() const {
    Class cls = cls_.load(std::memory_order_acquire);
    if (!cls) {
        cls = objc_getClass(name_);
        if (cls) cls_.store(cls, std::memory_order_release);
    }
    return cls;
}

bool RememberedClass::isKindOf(id obj) const {
    Class cls = get();
    return cls && object_isKindOfClass(obj, cls);
}

namespace {

// Reads "<decimal length><text>" and checks it against `expected`.
bool matchCounted(const char*& p, std::string_view expected) {
    std::size_t len = 0;
    if (*p < '1' || *p > '9') return false;
    while (*p >= '0' && *p <= '9') {
        len = len * 10 + static_cast<std::size_t>(*p - '0');
        if (len > expected.size()) return false;
        ++p;
    }
    if (len != expected.size() || std::strncmp(p, expected.data(), len) != 0) return false;
    p += len;
    return true;
}

}  // namespace

bool classNameIs(Class cls, std::string_view readable) {
    if (!cls) return false;
    const char* name = class_getName(cls);
    if (readable == name) return true;
    auto dot = readable.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == readable.size() ||
        readable.find('.', dot + 1) != std::string_view::npos)
        return false;
    std::string_view module = readable.substr(0, dot);
    std::string_view rest = readable.substr(dot + 1);
    if (std::strncmp(name, "_TtC", 4) != 0) return false;
    const char* p = name + 4;
    if (*p == 's') {
        if (module != "Swift") return false;
        ++p;
    } else if (!matchCounted(p, module)) {
        return false;
    }
    return matchCounted(p, rest) && *p == '\0';
}

bool classNameBeginsWithUnderscore(Class cls) {
    if (!cls) return false;
    const char* name = class_getName(cls);
    if (name[0] != '_') return false;
    if (std::strncmp(name, "_TtC", 4) != 0) return true;
    return objc::swiftDemangledClassName(name).starts_with('_');
}

Class responderOwnerClass(id view) {
    static Class viewClass = objc_getClass("UIView");
    id responder = view;
    while (responder && object_isKindOfClass(responder, viewClass))
        responder = msg<id>(responder, sel<"nextResponder">());
    return responder ? object_getClass(responder) : nullptr;
}

}  // namespace obscuro
