// NSAttributedString(color): the first-colour shortcut, recolouring every run, and the logged exception path.
#include "NSAttributedString+color.h"
#include "LogCapture.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIColor.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

id attributed(const char* text, id attributes = nil) {
    id string = msg<id>(NSMutableAttributedString::class_(), sel<"alloc">());
    return objc::autorelease(msg<id>(string, sel<"initWithString:attributes:">(), objc::str(text), attributes));
}

void colourRange(id string, id colour, NSUInteger location, NSUInteger length) {
    msg<void>(string, sel<"addAttribute:value:range:">(), NSForegroundColorAttributeName, colour, NSMakeRange(location, length));
}

std::string hexOfRun(const NSAttributedString::Run& run) {
    id colour = run.attributes->objectForKey(NSForegroundColorAttributeName);
    char text[8];
    double r = 0, g = 0, b = 0, a = 0;
    msg<BOOL>(colour, sel<"getRed:green:blue:alpha:">(), &r, &g, &b, &a);
    std::snprintf(text, sizeof text, "#%02X%02X%02X", int(r * 255), int(g * 255), int(b * 255));
    return text;
}

// The reason the platform gives when asked for the attributes of an empty string.
std::string emptyStringReason() {
    try {
        msg<id>(attributed(""), sel<"attributesAtIndex:effectiveRange:">(), 0UL, static_cast<NSRange*>(nullptr));
    } catch (const NSException& e) {
        return e.reason();
    }
    ADD_FAILURE() << "no exception for an empty string";
    return {};
}

class ReplaceColorsTest : public ::testing::Test {
    objc::AutoreleasePool pool_;
};

TEST_F(ReplaceColorsTest, SameFirstColourReturnsTheReceiverItself) {
    id text = attributed("ab");
    colourRange(text, UIColor::colorWithRGBA(1, 0x2D / 255.0, 0x55 / 255.0, 1), 0, 1);
    colourRange(text, UIColor::colorWithRGBA(0, 0, 1, 1), 1, 1);
    // Another object, another alpha, under one 8-bit step away: the same colour by hex.
    id same = UIColor::colorWithRGBA(1, 0x2D / 255.0 + 0.001, 0x55 / 255.0, 0.3);
    EXPECT_EQ(replaceColorsWith(text, same), text);
}

TEST_F(ReplaceColorsTest, OtherFirstColourRecoloursEveryRunAndKeepsOtherAttributes) {
    id text = attributed("abcd", objc::dict({{NSFontAttributeName, NSSTR("Body")}}));
    colourRange(text, UIColor::colorWithWhite(0, 1), 0, 2);
    colourRange(text, UIColor::colorWithRGBA(1, 0, 0, 1), 2, 2);
    id result = replaceColorsWith(text, UIColor::colorWithWhite(1, 1));
    ASSERT_NE(result, text);
    EXPECT_FALSE(msg<BOOL>(result, sel<"isKindOfClass:">(), NSMutableAttributedString::class_()));
    auto runs = objc::runs(static_cast<NSAttributedString*>(result));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].range, NSMakeRange(0, 4));
    EXPECT_EQ(hexOfRun(runs[0]), "#FFFFFF");
    EXPECT_EQ(objc::utf8(runs[0].attributes->objectForKey(NSFontAttributeName)), "Body");
    EXPECT_EQ(objc::utf8(msg<id>(result, sel<"string">())), "abcd");
}

TEST_F(ReplaceColorsTest, UncolouredTextGetsTheColour) {
    id result = replaceColorsWith(attributed("x"), UIColor::colorWithRGBA(0, 1, 0, 1));
    EXPECT_EQ(hexOfRun(objc::runs(static_cast<NSAttributedString*>(result)).at(0)), "#00FF00");
}

TEST_F(ReplaceColorsTest, PlatformExceptionsAreLoggedAndTheReceiverReturned) {
    std::string reason = emptyStringReason();
    ASSERT_FALSE(reason.empty());
    LogCapture log;
    id empty = attributed("");
    EXPECT_EQ(replaceColorsWith(empty, UIColor::colorWithWhite(1, 1)), empty);
    id text = attributed("ab");
    EXPECT_EQ(replaceColorsWith(text, nil), text);  // a nil attribute value is refused
    auto messages = log.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "-----------------Exception:" + reason);
    EXPECT_TRUE(messages[1].starts_with("-----------------Exception:")) << messages[1];
    EXPECT_GT(messages[1].size(), std::string("-----------------Exception:").size());
}

TEST_F(ReplaceColorsTest, NilReceiverGivesNil) { EXPECT_EQ(replaceColorsWith(nil, UIColor::colorWithWhite(1, 1)), nil); }

}  // namespace
