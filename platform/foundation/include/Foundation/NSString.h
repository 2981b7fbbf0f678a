// NSString and NSMutableString: immutable text in UTF-16 code units, and the C++ ways to make and read it.
#pragma once

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSRange.h>

#include <string>
#include <string_view>

using NSStringEncoding = NSUInteger;
constexpr NSStringEncoding NSASCIIStringEncoding = 1;
constexpr NSStringEncoding NSUTF8StringEncoding = 4;

// Selectors (argument and result types as the messages take them; NSUInteger = unsigned long):
//   +string +stringWithString: +stringWithUTF8String:(const char*)
//   -initWithString: -initWithUTF8String: -initWithData:encoding: -initWithBytes:length:encoding:(const void*, NSUInteger, NSUInteger)
//   -length -characterAtIndex:(NSUInteger → unichar) -UTF8String(const char*) -description -isEqual: -isEqualToString: -hash
//   -copy -mutableCopy -compare:(→ NSComparisonResult) -hasPrefix: -hasSuffix: -containsString: -rangeOfString:(→ NSRange)
//   -lowercaseString -uppercaseString -substringFromIndex: -substringToIndex: -substringWithRange:
//   -stringByAppendingString: -stringByReplacingOccurrencesOfString:withString: -componentsSeparatedByString:
//   -stringByTrimmingCharactersInSet: -stringByAddingPercentEncodingWithAllowedCharacters: -stringByRemovingPercentEncoding
//   -lastPathComponent -pathExtension -stringByDeletingLastPathComponent -stringByDeletingPathExtension
//   -stringByAppendingPathComponent: -dataUsingEncoding: -intValue -integerValue -longLongValue -doubleValue -floatValue -boolValue
// NSMutableString adds -appendString: -setString:.
// Indexes and ranges count UTF-16 code units; an index or range past the end raises NSRangeException.
class NSString : public NSObject {
public:
    static Class class_();

    // A new string (+1) of class `cls` (NSString when nil) holding `units`.
    static objc::Strong<NSString> create(std::u16string units, Class cls = nullptr);
    // As create, from UTF-8; each invalid byte sequence becomes U+FFFD.
    static objc::Strong<NSString> createFromUTF8(std::string_view text, Class cls = nullptr);

    const std::u16string& utf16() const { return utf16_; }
    const std::string& utf8() const { return utf8_; }

protected:
    void assign(std::u16string units);

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();

    std::u16string utf16_;
    std::string utf8_;  // kept in step with utf16_, so that readers on any thread never write
};

class NSMutableString : public NSString {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};

namespace objc {

// A new autoreleased NSString of UTF-8 text; invalid sequences become U+FFFD.
NSString* str(std::string_view utf8);
// The UTF-8 text of an NSString; "" for nil or for an object that is not a string.
std::string utf8(id object);

namespace detail {
// The one immortal string for this text, shared by every literal with the same text.
NSString* literal(const char* text, std::size_t length);
}  // namespace detail

}  // namespace objc

// An immortal NSString literal, made once per call site on first use: NSSTR("enabled").
#define NSSTR(text)                                                                                   \
    ([]() -> NSString* {                                                                              \
        static NSString* const interned = ::objc::detail::literal("" text, sizeof(text) - 1);         \
        return interned;                                                                              \
    }())
