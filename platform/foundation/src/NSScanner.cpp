// NSScanner: numbers read from a string at a movable location.
#include <Foundation/NSScanner.h>

#include "Internal.h"

#include <algorithm>
#include <climits>

namespace {

Class gNSScanner = nullptr;

bool skippable(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == 0xA0 || c == 0x2028 || c == 0x2029; }

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

Class NSScanner::class_() { return gNSScanner; }

const std::u16string& NSScanner::units() const {
    static const std::u16string empty;
    return string_ ? string_->utf16() : empty;
}

void NSScanner::registerClass() {
    using Self = NSScanner;
    gNSScanner =
        objc::ClassBuilder<NSScanner>("NSScanner", NSObject::class_())
            .classMethod(sel<"scannerWithString:">(),
                         [](Class cls, SEL, NSString* string) {
                             auto* scanner = objc::createInstance<NSScanner>(cls);
                             scanner->string_ = NSString::create(string ? string->utf16() : std::u16string());
                             return objc::autorelease(scanner);
                         })
            .method(sel<"initWithString:">(),
                    [](Self* self, SEL, NSString* string) {
                        self->string_ = NSString::create(string ? string->utf16() : std::u16string());
                        return self;
                    })
            .method(sel<"string">(), [](Self* self, SEL) { return self->string_.get(); })
            .method(sel<"scanLocation">(), [](Self* self, SEL) -> NSUInteger { return self->location_; })
            .method(sel<"setScanLocation:">(),
                    [](Self* self, SEL sel, NSUInteger location) {
                        NSUInteger length = self->units().size();
                        if (location > length)
                            foundation::raiseRange(self, sel, "Index " + std::to_string(location) + " out of bounds; string length " + std::to_string(length));
                        self->location_ = location;
                    })
            .method(sel<"isAtEnd">(),
                    [](Self* self, SEL) -> BOOL {
                        const auto& u = self->units();
                        std::size_t i = self->location_;
                        while (i < u.size() && skippable(u[i])) ++i;
                        return i >= u.size();
                    })
            .method(sel<"scanHexInt:">(),
                    [](Self* self, SEL, unsigned* result) -> BOOL {
                        const auto& u = self->units();
                        std::size_t i = self->location_;
                        while (i < u.size() && skippable(u[i])) ++i;
                        // "0x" counts as a prefix only when a digit follows; otherwise the 0 is the number.
                        if (i + 2 < u.size() && u[i] == u'0' && (u[i + 1] == u'x' || u[i + 1] == u'X') && hexDigit(u[i + 2]) >= 0)
                            i += 2;
                        if (i >= u.size() || hexDigit(u[i]) < 0) return NO;
                        unsigned long long value = 0;
                        for (; i < u.size() && hexDigit(u[i]) >= 0; ++i)
                            value = std::min<unsigned long long>(value * 16 + static_cast<unsigned>(hexDigit(u[i])), 0x1'0000'0000ULL);
                        if (result) *result = value > 0xFFFF'FFFFULL ? 0xFFFF'FFFFU : static_cast<unsigned>(value);
                        self->location_ = i;
                        return YES;
                    })
            .method(sel<"scanInt:">(),
                    [](Self* self, SEL, int* result) -> BOOL {
                        const auto& u = self->units();
                        std::size_t i = self->location_;
                        while (i < u.size() && skippable(u[i])) ++i;
                        bool negative = false;
                        if (i < u.size() && (u[i] == u'+' || u[i] == u'-')) negative = u[i++] == u'-';
                        if (i >= u.size() || u[i] < u'0' || u[i] > u'9') return NO;
                        long long value = 0;
                        for (; i < u.size() && u[i] >= u'0' && u[i] <= u'9'; ++i) value = std::min<long long>(value * 10 + (u[i] - u'0'), 1LL << 32);
                        if (negative) value = -value;
                        if (result) *result = value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
                        self->location_ = i;
                        return YES;
                    })
            .registerClass();
}
