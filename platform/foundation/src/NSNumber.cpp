// NSNumber: booleans, integers and reals that compare by value and remember their kind.
#include <Foundation/NSNumber.h>
#include <Foundation/NSStringFormat.h>

#include "Internal.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

Class gNSNumber = nullptr;

template <class T>
T integerAs(const NSNumber* n) {
    if (n->kind() == NSNumber::Kind::real) return foundation::saturated<T>(n->doubleValue());
    return static_cast<T>(n->longLongValue());
}

bool integral(const NSNumber* n) { return n->kind() != NSNumber::Kind::real; }

bool equalNumbers(const NSNumber* a, const NSNumber* b) {
    if (integral(a) && integral(b)) return a->longLongValue() == b->longLongValue();
    if (integral(a) != integral(b)) {
        // An integer equals a real only when the real is exactly that integer.
        const NSNumber* whole = integral(a) ? a : b;
        double real = integral(a) ? b->doubleValue() : a->doubleValue();
        return std::trunc(real) == real && real >= -0x1p63 && real < 0x1p63 && static_cast<long long>(real) == whole->longLongValue();
    }
    return a->doubleValue() == b->doubleValue();
}

NSComparisonResult compareNumbers(const NSNumber* a, const NSNumber* b) {
    if (integral(a) && integral(b)) {
        auto x = a->longLongValue(), y = b->longLongValue();
        return x < y ? NSOrderedAscending : x > y ? NSOrderedDescending : NSOrderedSame;
    }
    if (equalNumbers(a, b)) return NSOrderedSame;
    return a->doubleValue() < b->doubleValue() ? NSOrderedAscending : NSOrderedDescending;
}

std::string numberText(const NSNumber* n) {
    if (integral(n)) return std::to_string(n->longLongValue());
    double value = n->doubleValue();
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);  // the shortest text that reads back the same
    return std::string(text, result.ptr);
}

}  // namespace

Class NSNumber::class_() { return gNSNumber; }

long long NSNumber::longLongValue() const { return kind_ == Kind::real ? foundation::saturated<long long>(real_) : integer_; }

objc::Strong<NSNumber> NSNumber::createBool(bool value) {
    auto n = objc::adopt(objc::createInstance<NSNumber>(gNSNumber));
    n->kind_ = Kind::boolean;
    n->integer_ = value ? 1 : 0;
    return n;
}

objc::Strong<NSNumber> NSNumber::createInteger(long long value) {
    auto n = objc::adopt(objc::createInstance<NSNumber>(gNSNumber));
    n->kind_ = Kind::integer;
    n->integer_ = value;
    return n;
}

objc::Strong<NSNumber> NSNumber::createReal(double value) {
    auto n = objc::adopt(objc::createInstance<NSNumber>(gNSNumber));
    n->kind_ = Kind::real;
    n->real_ = value;
    return n;
}

void NSNumber::registerClass() {
    using foundation::autoreleased;
    gNSNumber =
        objc::ClassBuilder<NSNumber>("NSNumber", NSValue::class_())
            .classMethod(sel<"numberWithBool:">(), [](Class, SEL, BOOL v) { return autoreleased(createBool(v)); })
            .classMethod(sel<"numberWithInt:">(), [](Class, SEL, int v) { return autoreleased(createInteger(v)); })
            .classMethod(sel<"numberWithInteger:">(), [](Class, SEL, NSInteger v) { return autoreleased(createInteger(v)); })
            .classMethod(sel<"numberWithLongLong:">(), [](Class, SEL, long long v) { return autoreleased(createInteger(v)); })
            .classMethod(sel<"numberWithUnsignedInt:">(), [](Class, SEL, unsigned v) { return autoreleased(createInteger(v)); })
            .classMethod(sel<"numberWithUnsignedInteger:">(),
                         [](Class, SEL, NSUInteger v) {
                             // Beyond the signed range the value is kept as a real rather than wrapped.
                             if (v > static_cast<NSUInteger>(std::numeric_limits<long long>::max()))
                                 return autoreleased(createReal(static_cast<double>(v)));
                             return autoreleased(createInteger(static_cast<long long>(v)));
                         })
            .classMethod(sel<"numberWithDouble:">(), [](Class, SEL, double v) { return autoreleased(createReal(v)); })
            .classMethod(sel<"numberWithFloat:">(), [](Class, SEL, float v) { return autoreleased(createReal(v)); })
            .method(sel<"boolValue">(),
                    [](NSNumber* self, SEL) -> BOOL { return integral(self) ? self->integer_ != 0 : self->real_ != 0; })
            .method(sel<"intValue">(), [](NSNumber* self, SEL) { return integerAs<int>(self); })
            .method(sel<"integerValue">(), [](NSNumber* self, SEL) { return integerAs<NSInteger>(self); })
            .method(sel<"longLongValue">(), [](NSNumber* self, SEL) { return integerAs<long long>(self); })
            .method(sel<"unsignedIntValue">(), [](NSNumber* self, SEL) { return integerAs<unsigned>(self); })
            .method(sel<"unsignedIntegerValue">(),
                    [](NSNumber* self, SEL) -> NSUInteger {
                        if (!integral(self)) return foundation::saturated<NSUInteger>(self->real_);
                        return static_cast<NSUInteger>(self->integer_);
                    })
            .method(sel<"doubleValue">(), [](NSNumber* self, SEL) { return self->doubleValue(); })
            .method(sel<"floatValue">(), [](NSNumber* self, SEL) { return static_cast<float>(self->doubleValue()); })
            .method(sel<"stringValue">(), [](NSNumber* self, SEL) { return objc::str(numberText(self)); })
            .method(sel<"description">(), [](NSNumber* self, SEL) { return objc::str(numberText(self)); })
            .method(sel<"isEqual:">(),
                    [](NSNumber* self, SEL, id other) -> BOOL {
                        auto* n = foundation::as<NSNumber>(other);
                        return n && equalNumbers(self, n);
                    })
            .method(sel<"isEqualToNumber:">(), [](NSNumber* self, SEL, NSNumber* other) -> BOOL { return other && equalNumbers(self, other); })
            .method(sel<"compare:">(),
                    [](NSNumber* self, SEL, NSNumber* other) -> NSComparisonResult {
                        return other ? compareNumbers(self, other) : NSOrderedDescending;
                    })
            .method(sel<"hash">(),
                    [](NSNumber* self, SEL) -> NSUInteger {
                        // Equal numbers of different kinds must hash alike: whole reals hash as integers.
                        double real = self->doubleValue();
                        if (integral(self) || (std::trunc(real) == real && real >= -0x1p63 && real < 0x1p63))
                            return std::hash<long long>{}(self->longLongValue());
                        return std::hash<double>{}(real);
                    })
            .method(sel<"copy">(), [](NSNumber* self, SEL) -> id { return objc_retain(self); })
            .registerClass();
}
