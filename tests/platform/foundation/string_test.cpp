// Strings: boolValue of strings and numbers, the format conversions callers use, and the tests and cases they rely on.
#include <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include <climits>

namespace {

class Strings : public ::testing::Test {
protected:
    objc::AutoreleasePool pool_;
};

TEST_F(Strings, BoolValueOfStrings) {
    struct Case {
        const char* text;
        bool value;
    };
    const Case cases[] = {
        {"YES", true},     {"yes", true},    {"y", true},       {"True", true},    {"t", true},     {"1", true},
        {"9", true},       {"  \t\nY", true}, {"+1", true},      {"-1", true},      {"0001", true},  {"-0009", true},
        {"000y", true},    {"1junk", true},  {"Tomorrow", true}, {"NO", false},     {"no", false},   {"false", false},
        {"0", false},      {"000", false},   {"", false},       {"   ", false},     {"+", false},    {"-", false},
        {"x1", false},     {"0.5", false},   {"+-1", false},    {"--1", false},    {"0x1", false},
        {" +00T", true},   {"1 ", true},
    };
    for (const auto& c : cases) EXPECT_EQ(msg<BOOL>(objc::str(c.text), sel<"boolValue">()), c.value) << '"' << c.text << '"';
}

TEST_F(Strings, BoolValueOfNumbers) {
    Class number = NSNumber::class_();
    EXPECT_TRUE(msg<BOOL>(msg<id>(number, sel<"numberWithBool:">(), true), sel<"boolValue">()));
    EXPECT_FALSE(msg<BOOL>(msg<id>(number, sel<"numberWithBool:">(), false), sel<"boolValue">()));
    EXPECT_TRUE(msg<BOOL>(msg<id>(number, sel<"numberWithInt:">(), -2), sel<"boolValue">()));
    EXPECT_FALSE(msg<BOOL>(msg<id>(number, sel<"numberWithInt:">(), 0), sel<"boolValue">()));
    EXPECT_TRUE(msg<BOOL>(msg<id>(number, sel<"numberWithDouble:">(), 0.25), sel<"boolValue">()));
    EXPECT_FALSE(msg<BOOL>(msg<id>(number, sel<"numberWithDouble:">(), 0.0), sel<"boolValue">()));
    EXPECT_TRUE(msg<BOOL>(msg<id>(number, sel<"numberWithLongLong:">(), 1LL << 40), sel<"boolValue">()));
    EXPECT_FALSE(msg<BOOL>(static_cast<id>(nullptr), sel<"boolValue">()));
}

TEST_F(Strings, FormatConversions) {
    using objc::detail::formatText;
    EXPECT_EQ(formatText("%@ and %@", NSSTR("text"), static_cast<id>(nullptr)), "text and (null)");
    EXPECT_EQ(formatText("%@", msg<id>(NSNumber::class_(), sel<"numberWithInt:">(), 7)), "7");
    EXPECT_EQ(formatText("[%s|%s]", "c", static_cast<const char*>(nullptr)), "[c|(null)]");
    EXPECT_EQ(formatText("%i %i", -42, INT_MIN), "-42 -2147483648");
    EXPECT_EQ(formatText("%x %x", 255u, -1), "ff ffffffff");
    EXPECT_EQ(formatText("#%02X%02X%02X", 10, 255, 0), "#0AFF00");
    EXPECT_EQ(formatText("%02x%02x", 0xab, 3), "ab03");
    EXPECT_EQ(formatText("%02X", 300), "12C") << "a width is a minimum";
    EXPECT_EQ(formatText("%zd", static_cast<NSInteger>(-5)), "-5");
    EXPECT_EQ(formatText("%zd", static_cast<NSUInteger>(NSNotFound)), "9223372036854775807");
    EXPECT_EQ(formatText("%f %.2f %f", 0.5, 1.005f, 3), "0.500000 1.00 3.000000");
    EXPECT_EQ(formatText("100%% %d", 1), "100% 1");
    EXPECT_EQ(formatText("%2$@ %1$@", NSSTR("b"), NSSTR("a")), "a b");
    EXPECT_EQ(formatText("%d %@ %s"), "0 (null) (null)") << "missing arguments read as zero or nil";
    EXPECT_EQ(formatText("%y %"), "%y %") << "unknown conversions are copied";
    EXPECT_EQ(objc::utf8(objc::format("%@-%i", NSSTR("x"), 1)), "x-1");
}

TEST_F(Strings, CaseAndContainmentTests) {
    NSString* s = objc::str("Midnight\u00c9T\u00e9");
    EXPECT_EQ(objc::utf8(msg<NSString*>(s, sel<"lowercaseString">())), "midnight\u00e9t\u00e9");
    EXPECT_TRUE(msg<BOOL>(s, sel<"hasPrefix:">(), NSSTR("Mid")));
    EXPECT_FALSE(msg<BOOL>(s, sel<"hasPrefix:">(), NSSTR("mid")));
    EXPECT_TRUE(msg<BOOL>(s, sel<"containsString:">(), objc::str("\u00c9T")));
    // The empty string is a prefix of nothing and contained in nothing, as on the phone.
    EXPECT_FALSE(msg<BOOL>(s, sel<"hasPrefix:">(), NSSTR("")));
    EXPECT_FALSE(msg<BOOL>(s, sel<"containsString:">(), NSSTR("")));
    EXPECT_FALSE(msg<BOOL>(s, sel<"hasPrefix:">(), static_cast<NSString*>(nullptr)));
    EXPECT_EQ(msg<NSRange>(s, sel<"rangeOfString:">(), NSSTR("night")), NSMakeRange(3, 5));
    EXPECT_EQ(msg<NSRange>(s, sel<"rangeOfString:">(), NSSTR("day")).location, static_cast<NSUInteger>(NSNotFound));
}

TEST_F(Strings, IndexesPastTheEndRaise) {
    NSString* s = NSSTR("abc");
    EXPECT_EQ(objc::utf8(msg<NSString*>(s, sel<"substringFromIndex:">(), 3UL)), "");
    EXPECT_THROW(msg<NSString*>(s, sel<"substringFromIndex:">(), 4UL), NSException);
    EXPECT_THROW(msg<unichar>(s, sel<"characterAtIndex:">(), 3UL), NSException);
    EXPECT_THROW(msg<NSString*>(s, sel<"substringWithRange:">(), NSMakeRange(2, ULONG_MAX)), NSException);
}

}  // namespace
