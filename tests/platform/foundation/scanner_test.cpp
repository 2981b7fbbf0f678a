// NSScanner: hexadecimal and decimal scans with white space, prefixes, case, saturation and failure.
#include <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include <climits>

namespace {

class Scanner : public ::testing::Test {
protected:
    NSScanner* scanner(const char* text, NSUInteger location = 0) {
        auto* s = msg<NSScanner*>(NSScanner::class_(), sel<"scannerWithString:">(), objc::str(text));
        msg(s, sel<"setScanLocation:">(), location);
        return s;
    }
    objc::AutoreleasePool pool_;
};

TEST_F(Scanner, HexIntReadsWhatTheColourStringsHold) {
    struct Case {
        const char* text;
        NSUInteger from;
        unsigned value;
        NSUInteger end;  // scan location afterwards
    };
    const Case cases[] = {
        {"#fdfdfd", 1, 0xFDFDFD, 7},
        {"#FFEBEE", 1, 0xFFEBEE, 7},
        {"#aBc", 1, 0xABC, 4},
        {"#  \t\n ff", 1, 0xFF, 8},           // white space and newlines first
        {"#0x1F", 1, 0x1F, 5},                // optional prefix
        {"#0X1f", 1, 0x1F, 5},                // either case
        {"#0x", 1, 0, 2},                     // a prefix without digits: the 0 is the number
        {"#0xg", 1, 0, 2},
        {"#12zz", 1, 0x12, 3},                // stops at the first other character
        {"#FFFFFFFF", 1, 0xFFFFFFFF, 9},
        {"#100000000", 1, 0xFFFFFFFF, 10},    // too large for 32 bits: saturated, all digits read
        {"#123456789ABCDEF0123", 1, 0xFFFFFFFF, 20},
        {"#00000000000000000001", 1, 1, 21},  // leading zeroes do not overflow
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        NSScanner* s = scanner(c.text, c.from);
        unsigned value = 12345;
        EXPECT_TRUE(msg<BOOL>(s, sel<"scanHexInt:">(), &value));
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(msg<NSUInteger>(s, sel<"scanLocation">()), c.end);
    }
}

TEST_F(Scanner, FailedHexScanChangesNothing) {
    for (const char* text : {"#", "#   ", "#zz", "#-1", "#+1", "# x0"}) {
        SCOPED_TRACE(text);
        NSScanner* s = scanner(text, 1);
        unsigned value = 7;
        EXPECT_FALSE(msg<BOOL>(s, sel<"scanHexInt:">(), &value));
        EXPECT_EQ(value, 7u);
        EXPECT_EQ(msg<NSUInteger>(s, sel<"scanLocation">()), 1u);
    }
    // A NULL result pointer still scans.
    NSScanner* s = scanner("ff");
    EXPECT_TRUE(msg<BOOL>(s, sel<"scanHexInt:">(), static_cast<unsigned*>(nullptr)));
    EXPECT_TRUE(msg<BOOL>(s, sel<"isAtEnd">()));
}

TEST_F(Scanner, LocationPastTheEndRaisesRange) {
    NSScanner* s = scanner("#a");
    EXPECT_NO_THROW(msg(s, sel<"setScanLocation:">(), 2UL));
    try {
        msg(s, sel<"setScanLocation:">(), 3UL);
        FAIL() << "no exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), "NSRangeException");
    }
    // The empty string has no character 1 to start from.
    EXPECT_THROW(scanner("", 1), NSException);
}

TEST_F(Scanner, IntSaturatesBothWays) {
    int value = 0;
    EXPECT_TRUE(msg<BOOL>(scanner("  -42x"), sel<"scanInt:">(), &value));
    EXPECT_EQ(value, -42);
    EXPECT_TRUE(msg<BOOL>(scanner("99999999999999999999"), sel<"scanInt:">(), &value));
    EXPECT_EQ(value, INT_MAX);
    EXPECT_TRUE(msg<BOOL>(scanner("-99999999999999999999"), sel<"scanInt:">(), &value));
    EXPECT_EQ(value, INT_MIN);
    EXPECT_TRUE(msg<BOOL>(scanner("-2147483648"), sel<"scanInt:">(), &value));
    EXPECT_EQ(value, INT_MIN);
    value = 5;
    EXPECT_FALSE(msg<BOOL>(scanner("-"), sel<"scanInt:">(), &value));
    EXPECT_EQ(value, 5);
}

}  // namespace
