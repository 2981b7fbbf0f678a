// Class-name comparisons without building strings, remembered lookups and the responder walk.
#include "ClassTests.h"

#include "RememberedClasses.h"

#include <objc/message.h>
#include <objc/swift.h>

#include <cstring>

namespace obscuro {

// A class the app lacks is asked about at every decision, so a failed lookup is not repeated
// until the class table has changed: before that it could only fail again.
Class RememberedClass::lookUp() const {
    unsigned long generation = objc_classTableGeneration();
    if (missedAt_.load(std::memory_order_relaxed) == generation + 1) return nullptr;
    Class cls = objc_getClass(name_);
    if (cls) cls_.store(cls, std::memory_order_release);
    else missedAt_.store(generation + 1, std::memory_order_relaxed);
    return cls;
}

namespace {

// Reads "<decimal length><text>" from the front of `rest` into `part`; the length starts with
// 1 to 9 and the text holds no dot, since a dotted name has exactly one.
bool readCounted(std::string_view& rest, std::string_view& part) {
    if (rest.empty() || rest[0] < '1' || rest[0] > '9') return false;
    std::size_t len = 0, digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
        len = len * 10 + static_cast<std::size_t>(rest[digits] - '0');
        if (len > rest.size()) return false;
        ++digits;
    }
    rest.remove_prefix(digits);
    if (len > rest.size()) return false;
    part = rest.substr(0, len);
    rest.remove_prefix(len);
    return part.find('.') == std::string_view::npos;
}

}  // namespace

ClassName::ClassName(Class cls) {
    if (!cls) return;
    runtime_ = class_getName(cls);
    if (!runtime_.starts_with("_TtC")) return;
    std::string_view rest = runtime_.substr(4), module, name;
    if (rest.starts_with('s')) {
        module = "Swift";
        rest.remove_prefix(1);
    } else if (!readCounted(rest, module)) {
        return;
    }
    if (!readCounted(rest, name) || !rest.empty()) return;
    module_ = module;
    name_ = name;
}

bool ClassName::is(std::string_view readable) const {
    if (!runtime_.data()) return false;  // nil
    if (readable == runtime_) return true;
    return !name_.empty() && readable.size() == module_.size() + 1 + name_.size() && readable.starts_with(module_) &&
           readable[module_.size()] == '.' && readable.ends_with(name_);
}

bool classNameBeginsWithUnderscore(Class cls) {
    if (!cls) return false;
    const char* name = class_getName(cls);
    if (name[0] != '_') return false;
    if (std::strncmp(name, "_TtC", 4) != 0) return true;
    return objc::swiftDemangledClassName(name).starts_with('_');
}

Class responderOwnerClass(id view) {
    id responder = view;
    while (responder && classes::view.isKindOf(responder))
        responder = msg<id>(responder, sel<"nextResponder">());
    return responder ? object_getClass(responder) : nullptr;
}

}  // namespace obscuro
