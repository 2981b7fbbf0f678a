// NSCharacterSet: the URL part sets, white space, and sets made from the characters of a string.
#include <Foundation/NSCharacterSet.h>
#include <Foundation/NSString.h>

#include "Internal.h"

#include <algorithm>
#include <string_view>

namespace {

Class gNSCharacterSet = nullptr;

constexpr std::string_view kAlphanumerics = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace

Class NSCharacterSet::class_() { return gNSCharacterSet; }

bool NSCharacterSet::contains(char32_t c) const {
    if (c < 128) return ascii_.test(c);
    return std::binary_search(others_.begin(), others_.end(), c);
}

namespace {

// The phone's standard sets are shared singletons; these never die either.
NSCharacterSet* immortal(NSCharacterSet* set) {
    set->retainCount_.store(1L << 60, std::memory_order_relaxed);
    return set;
}

std::string urlSet(std::string_view punctuation) { return std::string(kAlphanumerics) + std::string(punctuation); }

const std::vector<char32_t> kUnicodeSpaces = {0xA0,   0x1680, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005,
                                              0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x202F, 0x205F, 0x3000};

}  // namespace

NSCharacterSet* NSCharacterSet::make(std::string_view asciiMembers, std::vector<char32_t> others) {
    auto* set = objc::createInstance<NSCharacterSet>(gNSCharacterSet);
    for (char c : asciiMembers) set->ascii_.set(static_cast<unsigned char>(c) & 0x7F);
    std::sort(others.begin(), others.end());
    set->others_ = std::move(others);
    return set;
}

void NSCharacterSet::registerClass() {
    gNSCharacterSet =
        objc::ClassBuilder<NSCharacterSet>("NSCharacterSet", NSObject::class_())
            .classMethod(sel<"URLQueryAllowedCharacterSet">(),
                         [](Class, SEL) {
                             static NSCharacterSet* set = immortal(make(urlSet("!$&'()*+,-./:;=?@_~")));
                             return set;
                         })
            .classMethod(sel<"URLFragmentAllowedCharacterSet">(),
                         [](Class, SEL) {
                             static NSCharacterSet* set = immortal(make(urlSet("!$&'()*+,-./:;=?@_~")));
                             return set;
                         })
            .classMethod(sel<"URLPathAllowedCharacterSet">(),
                         [](Class, SEL) {
                             static NSCharacterSet* set = immortal(make(urlSet("!$&'()*+,-./:=@_~")));
                             return set;
                         })
            .classMethod(sel<"URLHostAllowedCharacterSet">(),
                         [](Class, SEL) {
                             static NSCharacterSet* set = immortal(make(urlSet("!$&'()*+,-.:;=[]_~")));
                             return set;
                         })
            .classMethod(sel<"URLUserAllowedCharacterSet">(),
                         [](Class, SEL) {
                             static NSCharacterSet* set = immortal(make(urlSet("!$&'()*+,-.;=_~")));
                             return set;
                         })
            .classMethod(sel<"whitespaceCharacterSet">(),
                         [](Class, SEL) {
                             static NSCharacterSet* set = immortal(make(" \t", kUnicodeSpaces));
                             return set;
                         })
            .classMethod(sel<"whitespaceAndNewlineCharacterSet">(),
                         [](Class, SEL) {
                             static NSCharacterSet* set = [] {
                                 auto others = kUnicodeSpaces;
                                 others.insert(others.end(), {0x85, 0x2028, 0x2029});
                                 return immortal(make(" \t\n\r\v\f", others));
                             }();
                             return set;
                         })
            .classMethod(sel<"characterSetWithCharactersInString:">(),
                         [](Class, SEL, NSString* characters) -> NSCharacterSet* {
                             std::string ascii;
                             std::vector<char32_t> others;
                             for (char16_t u : characters ? characters->utf16() : std::u16string()) {
                                 if (u < 128) ascii.push_back(static_cast<char>(u));
                                 else others.push_back(u);
                             }
                             return objc::autorelease(make(ascii, std::move(others)));
                         })
            .method(sel<"characterIsMember:">(), [](NSCharacterSet* self, SEL, unichar c) -> BOOL { return self->contains(c); })
            .registerClass();
}
