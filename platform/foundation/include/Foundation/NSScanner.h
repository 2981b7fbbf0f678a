// NSScanner: reads numbers from a string from a movable location, skipping white space first.
#pragma once

#include <Foundation/NSString.h>

// Selectors: +scannerWithString: -initWithString: -string -scanLocation -setScanLocation:(NSUInteger) -isAtEnd
//   -scanHexInt:(unsigned*) -scanInt:(int*)
// Before each scan, white space and newlines are skipped. A failed scan leaves the location
// where it was. setScanLocation: past the end raises NSRangeException.
// scanHexInt: accepts an optional 0x or 0X prefix and digits of either case up to the first
// other character; a number too large for 32 bits gives 0xFFFFFFFF and still succeeds; NO
// when no digit is read. scanInt: saturates at INT_MAX / INT_MIN the same way.
class NSScanner : public NSObject {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
    const std::u16string& units() const;

    objc::Strong<NSString> string_;
    NSUInteger location_ = 0;
};
