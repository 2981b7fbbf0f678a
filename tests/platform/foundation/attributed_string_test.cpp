// Attributed strings: runs of attributes, and the exceptions the phone raises for bad indexes, ranges and values.
#include <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

class AttributedStrings : public ::testing::Test {
protected:
    NSMutableAttributedString* make(const char* text) {
        id alloc = msg<id>(NSMutableAttributedString::class_(), sel<"alloc">());
        return objc::autorelease(msg<NSMutableAttributedString*>(alloc, sel<"initWithString:">(), objc::str(text)));
    }
    void expectRaise(const char* name, const std::function<void()>& action) {
        try {
            action();
            ADD_FAILURE() << "no " << name;
        } catch (const NSException& e) {
            EXPECT_EQ(e.name(), name) << e.reason();
        }
    }
    objc::AutoreleasePool pool_;
};

TEST_F(AttributedStrings, AttributesAtIndexGivesTheWholeRun) {
    NSMutableAttributedString* s = make("light and dark");
    msg(s, sel<"addAttribute:value:range:">(), NSForegroundColorAttributeName, static_cast<id>(NSSTR("red")), NSMakeRange(6, 3));
    NSRange range{};
    auto* attributes = msg<NSDictionary*>(s, sel<"attributesAtIndex:effectiveRange:">(), 7UL, &range);
    EXPECT_EQ(range, NSMakeRange(6, 3));
    EXPECT_EQ(objc::utf8(attributes->objectForKey(NSForegroundColorAttributeName)), "red");
    attributes = msg<NSDictionary*>(s, sel<"attributesAtIndex:effectiveRange:">(), 13UL, &range);
    EXPECT_EQ(range, NSMakeRange(9, 5));
    EXPECT_EQ(attributes->count(), 0u);
    // Giving the rest the same value joins the runs.
    msg(s, sel<"addAttribute:value:range:">(), NSForegroundColorAttributeName, static_cast<id>(NSSTR("red")), NSMakeRange(0, 14));
    msg<NSDictionary*>(s, sel<"attributesAtIndex:effectiveRange:">(), 0UL, &range);
    EXPECT_EQ(range, NSMakeRange(0, 14));
    EXPECT_EQ(objc::runs(s).size(), 1u);
}

TEST_F(AttributedStrings, IndexesAndRangesPastTheEndRaiseRange) {
    NSMutableAttributedString* s = make("abc");
    NSMutableAttributedString* empty = make("");
    id value = NSSTR("v");
    expectRaise("NSRangeException", [&] { msg<NSDictionary*>(s, sel<"attributesAtIndex:effectiveRange:">(), 3UL, static_cast<NSRange*>(nullptr)); });
    expectRaise("NSRangeException", [&] { msg<NSDictionary*>(empty, sel<"attributesAtIndex:effectiveRange:">(), 0UL, static_cast<NSRange*>(nullptr)); });
    expectRaise("NSRangeException", [&] {
        msg<id>(s, sel<"attribute:atIndex:effectiveRange:">(), NSFontAttributeName, 99UL, static_cast<NSRange*>(nullptr));
    });
    expectRaise("NSRangeException", [&] { msg(s, sel<"addAttribute:value:range:">(), NSFontAttributeName, value, NSMakeRange(2, 2)); });
    // A length that would wrap around past the end is out of range too, not a small range.
    expectRaise("NSRangeException", [&] { msg(s, sel<"addAttribute:value:range:">(), NSFontAttributeName, value, NSMakeRange(1, ULONG_MAX)); });
    expectRaise("NSRangeException", [&] { msg(s, sel<"replaceCharactersInRange:withString:">(), NSMakeRange(4, 0), NSSTR("x")); });
    // Nothing changed on the way.
    EXPECT_EQ(objc::runs(s).size(), 1u);
    EXPECT_EQ(objc::runs(s)[0].attributes->count(), 0u);
}

TEST_F(AttributedStrings, NilValuesRaiseInvalidArgument) {
    NSMutableAttributedString* s = make("abc");
    expectRaise("NSInvalidArgumentException",
                [&] { msg(s, sel<"addAttribute:value:range:">(), NSForegroundColorAttributeName, static_cast<id>(nullptr), NSMakeRange(0, 1)); });
    expectRaise("NSInvalidArgumentException", [&] {
        msg(s, sel<"addAttribute:value:range:">(), static_cast<NSString*>(nullptr), static_cast<id>(NSSTR("v")), NSMakeRange(0, 1));
    });
    expectRaise("NSInvalidArgumentException", [&] { msg(s, sel<"replaceCharactersInRange:withString:">(), NSMakeRange(0, 1), static_cast<NSString*>(nullptr)); });
    id alloc = msg<id>(NSAttributedString::class_(), sel<"alloc">());
    expectRaise("NSInvalidArgumentException", [&] { msg<id>(alloc, sel<"initWithString:">(), static_cast<NSString*>(nullptr)); });
    objc_release(alloc);
}

TEST_F(AttributedStrings, ReplacedTextTakesTheAttributesItReplaces) {
    NSMutableAttributedString* s = make("ab");
    msg(s, sel<"addAttribute:value:range:">(), NSFontAttributeName, static_cast<id>(NSSTR("bold")), NSMakeRange(1, 1));
    msg(s, sel<"replaceCharactersInRange:withString:">(), NSMakeRange(1, 1), NSSTR("XYZ"));
    EXPECT_EQ(objc::utf8(msg<NSString*>(s, sel<"string">())), "aXYZ");
    NSRange range{};
    msg<NSDictionary*>(s, sel<"attributesAtIndex:effectiveRange:">(), 2UL, &range);
    EXPECT_EQ(range, NSMakeRange(1, 3));
    // Appending a string to itself doubles it, runs included.
    msg(s, sel<"appendAttributedString:">(), static_cast<NSAttributedString*>(s));
    EXPECT_EQ(objc::utf8(msg<NSString*>(s, sel<"string">())), "aXYZaXYZ");
    EXPECT_EQ(objc::runs(s).size(), 4u);
}

}  // namespace
