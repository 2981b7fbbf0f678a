// The interned string table behind CFStringRef.
#include <CoreFoundation/CFBase.h>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

struct CFStringStorage {
    std::string text;
};

namespace {

struct InternTable {
    std::mutex lock;
    std::unordered_map<std::string_view, std::unique_ptr<CFStringStorage>> strings;
};

InternTable& table() {
    // Never destroyed: handles are used by static observers and by code running at exit.
    static InternTable* instance = new InternTable;
    return *instance;
}

}  // namespace

namespace platform {

CFStringRef internCFString(std::string_view text) {
    auto& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.strings.find(text);
    if (it != t.strings.end()) return it->second.get();
    auto storage = std::make_unique<CFStringStorage>(CFStringStorage{std::string(text)});
    CFStringRef handle = storage.get();
    t.strings.emplace(storage->text, std::move(storage));
    return handle;
}

}  // namespace platform

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cString, CFStringEncoding) {
    return cString ? platform::internCFString(cString) : nullptr;
}

const char* CFStringGetCStringPtr(CFStringRef string, CFStringEncoding) { return string ? string->text.c_str() : nullptr; }

CFTypeRef CFRetain(CFTypeRef object) { return object; }

void CFRelease(CFTypeRef) {}
