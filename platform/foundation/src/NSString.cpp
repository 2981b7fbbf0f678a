// NSString and NSMutableString: text as UTF-16 code units, kept alongside its UTF-8 form.
#include <Foundation/NSArray.h>
#include <Foundation/NSCharacterSet.h>
#include <Foundation/NSData.h>
#include <Foundation/NSString.h>

#include "Internal.h"
#include "StringValues.h"
#include "Unicode.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

using foundation::autoreleased;
using foundation::stringFromUTF16;

namespace {

Class gNSString = nullptr;
Class gNSMutableString = nullptr;

constexpr long kImmortal = 1L << 60;

std::u16string_view units(NSString* s) { return s ? std::u16string_view(s->utf16()) : std::u16string_view(); }

void checkIndex(NSString* self, SEL sel, NSUInteger index, bool endAllowed) {
    NSUInteger length = self->utf16().size();
    if (index > length || (index == length && !endAllowed))
        foundation::raiseRange(self, sel, "index " + std::to_string(index) + " beyond bounds; length " + std::to_string(length));
}

// Simple case mapping of the Latin, Greek and Cyrillic letters; other characters stay.
char16_t lowerUnit(char16_t c) {
    if (c >= u'A' && c <= u'Z') return c + 32;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

char16_t upperUnit(char16_t c) {
    if (c >= u'a' && c <= u'z') return c - 32;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
        return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

NSString* pathResult(std::string text) { return objc::str(text); }

// The text of a path with its trailing slashes removed ("/" stays "/").
std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

NSArray* components(NSString* self, NSString* separator) {
    NSArray::Objects parts;
    auto text = units(self);
    auto sep = units(separator);
    if (sep.empty()) {
        parts.push_back(objc::retain<objc_object>(self));
    } else {
        std::size_t start = 0;
        while (true) {
            std::size_t found = text.find(sep, start);
            std::size_t end = found == std::u16string_view::npos ? text.size() : found;
            parts.push_back(NSString::create(std::u16string(text.substr(start, end - start))));
            if (found == std::u16string_view::npos) break;
            start = found + sep.size();
        }
    }
    return autoreleased(NSArray::create(std::move(parts)));
}

}  // namespace

Class NSString::class_() { return gNSString; }
Class NSMutableString::class_() { return gNSMutableString; }

void NSString::assign(std::u16string units) {
    utf8_ = foundation::utf8FromUTF16(units);
    utf16_ = std::move(units);
}

objc::Strong<NSString> NSString::create(std::u16string units, Class cls) {
    auto s = objc::adopt(objc::createInstance<NSString>(cls ? cls : gNSString));
    s->assign(std::move(units));
    return s;
}

objc::Strong<NSString> NSString::createFromUTF8(std::string_view text, Class cls) {
    return create(foundation::utf16FromUTF8(text), cls);
}

namespace objc {

NSString* str(std::string_view utf8) { return autoreleased(NSString::createFromUTF8(utf8)); }

std::string utf8(id object) {
    auto* s = foundation::as<NSString>(object);
    return s ? s->utf8() : std::string();
}

namespace detail {

NSString* literal(const char* text, std::size_t length) {
    static std::mutex lock;
    static auto* table = new std::unordered_map<std::string, NSString*>;  // never destroyed, like the literals
    std::lock_guard guard(lock);
    std::string key(text, length);
    auto it = table->find(key);
    if (it != table->end()) return it->second;
    NSString* s = NSString::createFromUTF8(key).release();
    s->retainCount_.store(kImmortal, std::memory_order_relaxed);
    table->emplace(std::move(key), s);
    return s;
}

}  // namespace detail
}  // namespace objc

void NSString::registerClass() {
    using objc::ClassBuilder;
    gNSString =
        ClassBuilder<NSString>("NSString", NSObject::class_())
            .classMethod(sel<"string">(), [](Class cls, SEL) -> NSString* { return autoreleased(create({}, cls)); })
            .classMethod(sel<"stringWithString:">(),
                         [](Class cls, SEL, NSString* s) -> NSString* { return autoreleased(create(std::u16string(units(s)), cls)); })
            .classMethod(sel<"stringWithUTF8String:">(), [](Class cls, SEL, const char* text) -> NSString* {
                if (!text) return nullptr;
                auto decoded = foundation::strictUTF16FromUTF8(text);
                return decoded ? autoreleased(create(std::move(*decoded), cls)) : nullptr;
            })
            .method(sel<"initWithString:">(),
                    [](NSString* self, SEL, NSString* s) {
                        self->assign(std::u16string(units(s)));
                        return self;
                    })
            .method(sel<"initWithUTF8String:">(),
                    [](NSString* self, SEL, const char* text) -> NSString* {
                        auto decoded = text ? foundation::strictUTF16FromUTF8(text) : std::nullopt;
                        if (!decoded) {
                            objc_release(self);
                            return nullptr;
                        }
                        self->assign(std::move(*decoded));
                        return self;
                    })
            .method(sel<"initWithBytes:length:encoding:">(),
                    [](NSString* self, SEL, const void* bytes, NSUInteger length, NSUInteger encoding) -> NSString* {
                        std::string_view text(static_cast<const char*>(bytes), bytes ? length : 0);
                        auto decoded = foundation::decodeText(text, encoding);
                        if (!decoded) {
                            objc_release(self);
                            return nullptr;
                        }
                        self->assign(std::move(*decoded));
                        return self;
                    })
            .method(sel<"initWithData:encoding:">(),
                    [](NSString* self, SEL, NSData* data, NSUInteger encoding) -> NSString* {
                        std::optional<std::u16string> decoded;
                        if (data)
                            decoded = foundation::decodeText(
                                std::string_view(reinterpret_cast<const char*>(data->bytes().data()), data->bytes().size()), encoding);
                        if (!decoded) {
                            objc_release(self);
                            return nullptr;
                        }
                        self->assign(std::move(*decoded));
                        return self;
                    })
            .method(sel<"length">(), [](NSString* self, SEL) -> NSUInteger { return self->utf16_.size(); })
            .method(sel<"characterAtIndex:">(),
                    [](NSString* self, SEL sel, NSUInteger index) -> unichar {
                        checkIndex(self, sel, index, false);
                        return self->utf16_[index];
                    })
            .method(sel<"UTF8String">(), [](NSString* self, SEL) -> const char* { return self->utf8_.c_str(); })
            .method(sel<"description">(), [](NSString* self, SEL) -> NSString* { return self; })
            .method(sel<"isEqual:">(),
                    [](NSString* self, SEL, id other) -> BOOL {
                        auto* s = foundation::as<NSString>(other);
                        return s && s->utf16_ == self->utf16_;
                    })
            .method(sel<"isEqualToString:">(), [](NSString* self, SEL, NSString* other) -> BOOL { return other && other->utf16_ == self->utf16_; })
            .method(sel<"hash">(), [](NSString* self, SEL) -> NSUInteger { return foundation::hashUnits(self->utf16_); })
            .method(sel<"copy">(),
                    [](NSString* self, SEL) -> id {
                        if (object_getClass(self) == gNSString) return objc_retain(self);
                        return create(self->utf16_).release();
                    })
            .method(sel<"mutableCopy">(), [](NSString* self, SEL) -> id { return create(self->utf16_, gNSMutableString).release(); })
            .method(sel<"compare:">(),
                    [](NSString* self, SEL, NSString* other) -> NSComparisonResult {
                        if (!other) return NSOrderedDescending;
                        int c = self->utf16_.compare(other->utf16_);
                        return c < 0 ? NSOrderedAscending : c > 0 ? NSOrderedDescending : NSOrderedSame;
                    })
            .method(sel<"hasPrefix:">(),
                    [](NSString* self, SEL, NSString* prefix) -> BOOL {
                        return !units(prefix).empty() && std::u16string_view(self->utf16_).starts_with(units(prefix));
                    })
            .method(sel<"hasSuffix:">(),
                    [](NSString* self, SEL, NSString* suffix) -> BOOL {
                        return !units(suffix).empty() && std::u16string_view(self->utf16_).ends_with(units(suffix));
                    })
            .method(sel<"containsString:">(),
                    [](NSString* self, SEL, NSString* part) -> BOOL {
                        return !units(part).empty() && self->utf16_.find(units(part)) != std::u16string::npos;
                    })
            .method(sel<"rangeOfString:">(),
                    [](NSString* self, SEL, NSString* part) -> NSRange {
                        auto found = units(part).empty() ? std::u16string::npos : self->utf16_.find(units(part));
                        if (found == std::u16string::npos) return {static_cast<NSUInteger>(NSNotFound), 0};
                        return {found, units(part).size()};
                    })
            .method(sel<"lowercaseString">(),
                    [](NSString* self, SEL) -> NSString* {
                        std::u16string out = self->utf16_;
                        std::transform(out.begin(), out.end(), out.begin(), lowerUnit);
                        return stringFromUTF16(std::move(out));
                    })
            .method(sel<"uppercaseString">(),
                    [](NSString* self, SEL) -> NSString* {
                        std::u16string out = self->utf16_;
                        std::transform(out.begin(), out.end(), out.begin(), upperUnit);
                        return stringFromUTF16(std::move(out));
                    })
            .method(sel<"substringFromIndex:">(),
                    [](NSString* self, SEL sel, NSUInteger index) -> NSString* {
                        checkIndex(self, sel, index, true);
                        return stringFromUTF16(self->utf16_.substr(index));
                    })
            .method(sel<"substringToIndex:">(),
                    [](NSString* self, SEL sel, NSUInteger index) -> NSString* {
                        checkIndex(self, sel, index, true);
                        return stringFromUTF16(self->utf16_.substr(0, index));
                    })
            .method(sel<"substringWithRange:">(),
                    [](NSString* self, SEL sel, NSRange range) -> NSString* {
                        if (!NSRangeFitsLength(range, self->utf16_.size()))
                            foundation::raiseRange(self, sel, "range " + objc::utf8(NSStringFromRange(range)) + " out of bounds; length " +
                                                                  std::to_string(self->utf16_.size()));
                        return stringFromUTF16(self->utf16_.substr(range.location, range.length));
                    })
            .method(sel<"stringByAppendingString:">(),
                    [](NSString* self, SEL, NSString* other) -> NSString* {
                        return stringFromUTF16(self->utf16_ + std::u16string(units(other)));
                    })
            .method(sel<"stringByReplacingOccurrencesOfString:withString:">(),
                    [](NSString* self, SEL, NSString* target, NSString* replacement) -> NSString* {
                        auto from = units(target);
                        if (from.empty()) return stringFromUTF16(self->utf16_);
                        std::u16string out;
                        std::size_t start = 0;
                        for (std::size_t found; (found = self->utf16_.find(from, start)) != std::u16string::npos; start = found + from.size()) {
                            out.append(self->utf16_, start, found - start);
                            out.append(units(replacement));
                        }
                        out.append(self->utf16_, start);
                        return stringFromUTF16(std::move(out));
                    })
            .method(sel<"componentsSeparatedByString:">(),
                    [](NSString* self, SEL, NSString* separator) -> NSArray* { return components(self, separator); })
            .method(sel<"stringByTrimmingCharactersInSet:">(),
                    [](NSString* self, SEL, NSCharacterSet* set) -> NSString* {
                        const auto& u = self->utf16_;
                        std::size_t begin = 0, end = u.size();
                        if (set) {
                            while (begin < end && set->contains(u[begin])) ++begin;
                            while (end > begin && set->contains(u[end - 1])) --end;
                        }
                        return stringFromUTF16(u.substr(begin, end - begin));
                    })
            .method(sel<"stringByAddingPercentEncodingWithAllowedCharacters:">(),
                    [](NSString* self, SEL, NSCharacterSet* allowed) -> NSString* {
                        if (!allowed) return nullptr;
                        auto encoded = foundation::percentEncoded(self->utf16_, *allowed);
                        return encoded ? objc::str(*encoded) : nullptr;
                    })
            .method(sel<"stringByRemovingPercentEncoding">(),
                    [](NSString* self, SEL) -> NSString* {
                        auto decoded = foundation::percentDecoded(self->utf8_);
                        return decoded ? stringFromUTF16(std::move(*decoded)) : nullptr;
                    })
            .method(sel<"lastPathComponent">(),
                    [](NSString* self, SEL) -> NSString* {
                        std::string path = withoutTrailingSlashes(self->utf8_);
                        if (path == "/") return pathResult(path);
                        auto slash = path.rfind('/');
                        return pathResult(slash == std::string::npos ? path : path.substr(slash + 1));
                    })
            .method(sel<"pathExtension">(),
                    [](NSString* self, SEL) -> NSString* {
                        std::string path = withoutTrailingSlashes(self->utf8_);
                        std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
                        auto dot = name.rfind('.');
                        return pathResult(dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot + 1));
                    })
            .method(sel<"stringByDeletingLastPathComponent">(),
                    [](NSString* self, SEL) -> NSString* {
                        std::string path = withoutTrailingSlashes(self->utf8_);
                        auto slash = path.rfind('/');
                        if (slash == std::string::npos) return pathResult("");
                        if (slash == 0) return pathResult("/");
                        return pathResult(withoutTrailingSlashes(path.substr(0, slash)));
                    })
            .method(sel<"stringByDeletingPathExtension">(),
                    [](NSString* self, SEL) -> NSString* {
                        std::string path = withoutTrailingSlashes(self->utf8_);
                        auto slash = path.rfind('/');
                        std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
                        auto dot = path.rfind('.');
                        if (dot == std::string::npos || dot <= nameStart) return pathResult(path);
                        return pathResult(path.substr(0, dot));
                    })
            .method(sel<"stringByAppendingPathComponent:">(),
                    [](NSString* self, SEL, NSString* component) -> NSString* {
                        std::string base = withoutTrailingSlashes(self->utf8_);
                        std::string add = objc::utf8(component);
                        while (!add.empty() && add.front() == '/') add.erase(0, 1);
                        add = add.empty() ? add : withoutTrailingSlashes(add);
                        if (base.empty()) return pathResult(add);
                        if (add.empty()) return pathResult(base);
                        return pathResult(base == "/" ? "/" + add : base + "/" + add);
                    })
            .method(sel<"dataUsingEncoding:">(),
                    [](NSString* self, SEL, NSUInteger encoding) -> NSData* {
                        if (encoding == NSASCIIStringEncoding &&
                            std::any_of(self->utf16_.begin(), self->utf16_.end(), [](char16_t u) { return u >= 0x80; }))
                            return nullptr;
                        if (encoding != NSASCIIStringEncoding && encoding != NSUTF8StringEncoding) return nullptr;
                        return objc::data(self->utf8_);
                    })
            .method(sel<"intValue">(), [](NSString* self, SEL) -> int { return foundation::intValue(self->utf8_); })
            .method(sel<"integerValue">(), [](NSString* self, SEL) -> NSInteger { return foundation::longLongValue(self->utf8_); })
            .method(sel<"longLongValue">(), [](NSString* self, SEL) -> long long { return foundation::longLongValue(self->utf8_); })
            .method(sel<"doubleValue">(), [](NSString* self, SEL) -> double { return foundation::doubleValue(self->utf8_); })
            .method(sel<"floatValue">(), [](NSString* self, SEL) -> float { return static_cast<float>(foundation::doubleValue(self->utf8_)); })
            .method(sel<"boolValue">(), [](NSString* self, SEL) -> BOOL { return foundation::boolValue(self->utf8_); })
            .registerClass();
}

void NSMutableString::registerClass() {
    gNSMutableString = objc::ClassBuilder<NSMutableString>("NSMutableString", gNSString)
                           .method(sel<"appendString:">(),
                                   [](NSMutableString* self, SEL, NSString* other) {
                                       if (other) self->assign(self->utf16() + other->utf16());
                                   })
                           .method(sel<"setString:">(),
                                   [](NSMutableString* self, SEL, NSString* other) { self->assign(std::u16string(units(other))); })
                           .registerClass();
}
