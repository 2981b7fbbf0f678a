// NSNumber: a boolean, an integer or a real number, remembering which for property lists.
#pragma once

#include <Foundation/NSValue.h>

// Selectors: +numberWithBool: +numberWithInt: +numberWithInteger:(long) +numberWithLongLong:
//   +numberWithUnsignedInt: +numberWithUnsignedInteger: +numberWithDouble: +numberWithFloat:
//   -boolValue -intValue -integerValue -longLongValue -unsignedIntValue -unsignedIntegerValue -doubleValue -floatValue
//   -stringValue -description -isEqual: -isEqualToNumber: -hash -compare: -copy
// Numbers compare by value whatever their kind (YES equals 1). Reading a real as an integer
// truncates toward zero and saturates at the type's limits.
class NSNumber : public NSValue {
public:
    static Class class_();

    enum class Kind { boolean, integer, real };

    static objc::Strong<NSNumber> createBool(bool value);
    static objc::Strong<NSNumber> createInteger(long long value);
    static objc::Strong<NSNumber> createReal(double value);

    Kind kind() const { return kind_; }
    bool isBoolean() const { return kind_ == Kind::boolean; }
    long long longLongValue() const;
    double doubleValue() const { return kind_ == Kind::real ? real_ : static_cast<double>(integer_); }

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();

    Kind kind_ = Kind::integer;
    long long integer_ = 0;  // booleans and integers
    double real_ = 0;
};
