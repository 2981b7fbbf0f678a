// Text colour replacements driven through the runtime, as the app sends them.
#include "HookTable.h"
#include "tweak_fixture.h"

#include <Foundation/Foundation.h>
#include <objc/Strong.h>

namespace obscuro::testing {
namespace {

class TextHooksTest : public ThemeTest {
protected:
    void SetUp() override {
        ThemeTest::SetUp();
        ensureClass("Music.MiniPlayerViewController", "UIViewController");
        ensureClass("MusicNowPlayingControlsViewController", "UIViewController");
        ensureClass("_TestPrivateLabel", "UILabel");
        ensureClass("SparkBatteryView", "UILabel");
    }

    // The colour stored on a label, read past the textColor replacement.
    id storedTextColour(id label) { return objc::callIMP<id>(savedImplementationOf(*findHookEntry("UILabel", "textColor")), label, sel<"textColor">()); }

    std::string afterSetting(id label, id given) {
        msg<void>(label, sel<"setTextColor:">(), given);
        return hexOf(storedTextColour(label));
    }

    id labelUnder(const char* controllerClass) {
        id root = view("UIView");
        controllerFor(root, controllerClass);
        id label = view("UILabel");
        addSubview(root, label);
        return label;
    }
};

TEST_F(TextHooksTest, LabelsTakeTheTextColourUnlessPrivateOrExempt) {
    id red = colour(1, 0, 0);
    EXPECT_EQ(afterSetting(view("UILabel"), red), "#F0F0F0");
    EXPECT_EQ(afterSetting(view("_TestPrivateLabel"), red), "#FF0000");
    EXPECT_EQ(afterSetting(view("SparkBatteryView"), red), "#FF0000");
    EXPECT_EQ(afterSetting(view("UITabBarButtonLabel"), red), "#FF0000");
    enabled = false;
    EXPECT_EQ(afterSetting(view("UILabel"), red), "#FF0000");
}

TEST_F(TextHooksTest, ColorFlowKeepsMiniPlayerAndNowPlayingLabelColours) {
    colorFlowMusicEnabled = true;
    id black = colour(0, 0, 0);
    id mini = labelUnder("Music.MiniPlayerViewController");
    EXPECT_EQ(afterSetting(mini, black), "#F0F0F0");
    EXPECT_EQ(afterSetting(mini, colour(0.5, 0.5, 0)), "#7F7F00");
    msg<void>(mini, sel<"setTextColor:">(), id{nullptr});
    EXPECT_EQ(storedTextColour(mini), nullptr);
    id controls = labelUnder("MusicNowPlayingControlsViewController");
    EXPECT_EQ(afterSetting(controls, black), "#000000");
    EXPECT_EQ(afterSetting(view("UILabel"), black), "#F0F0F0");  // no owner: outside both screens
}

TEST_F(TextHooksTest, LabelTextColourGetterReplacesOnlyTheStockPink) {
    id label = view("UILabel");
    enabled = false;
    msg<void>(label, sel<"setTextColor:">(), colour(1, 0x2D / 255.0, 0x55 / 255.0, 0.4));
    enabled = true;
    EXPECT_EQ(hexOf(msg<id>(label, sel<"textColor">())), "#F0F0F0");
    enabled = false;
    msg<void>(label, sel<"setTextColor:">(), colour(0, 0, 1));
    enabled = true;
    EXPECT_EQ(hexOf(msg<id>(label, sel<"textColor">())), "#0000FF");
}

TEST_F(TextHooksTest, DefaultAttributesCarryTheTextColourExceptForPrivateLabels) {
    id attributes = msg<id>(objc_getClass("UILabel"), sel<"_defaultAttributes">());
    EXPECT_EQ(hexOf(msg<id>(attributes, sel<"objectForKey:">(), NSForegroundColorAttributeName)), "#F0F0F0");
    id privateAttributes = msg<id>(objc_getClass("_TestPrivateLabel"), sel<"_defaultAttributes">());
    EXPECT_NE(hexOf(msg<id>(privateAttributes, sel<"objectForKey:">(), NSForegroundColorAttributeName)), "#F0F0F0");
}

TEST_F(TextHooksTest, TextViewsAndFieldsAlwaysReportTheTextColour) {
    for (const char* name : {"UITextView", "UITextField"}) {
        id field = view(name);
        msg<void>(field, sel<"setTextColor:">(), colour(1, 0, 0));
        EXPECT_EQ(hexOf(msg<id>(field, sel<"textColor">())), "#F0F0F0") << name;
    }
    id links = msg<id>(view("UITextView"), sel<"linkTextAttributes">());
    // offsetColor of a light text colour moves halfway to black
    EXPECT_EQ(hexOf(msg<id>(links, sel<"objectForKey:">(), NSForegroundColorAttributeName)), "#787878");
}

// What the saved implementations were handed, recorded by stand-ins put in their place.
struct Handed {
    int calls = 0;
    id drawingColour = nullptr;  // textDrawingColor while the saved drawRect: ran
    objc::Strong<objc_object> attributes;
};
Handed handed;

void recordDrawRect(id, SEL, CGRect) {
    ++handed.calls;
    handed.drawingColour = textDrawingColor;
}

void recordStringDrawing(id, SEL, CGRect, long, id attributes, id) {
    ++handed.calls;
    handed.attributes = objc::retain(attributes);
}

TEST_F(TextHooksTest, DrawingViewForcesTheColourOnlyForItsOwnPass) {
    SavedImplementationStandIn standIn("_TtCVV5Music4Text7Drawing4View", "drawRect:", reinterpret_cast<IMP>(&recordDrawRect));
    id v = view("_TtCVV5Music4Text7Drawing4View");
    handed = {};
    colorFlowMusicEnabled = true;
    msg<void>(v, sel<"drawRect:">(), CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(handed.calls, 1);
    EXPECT_EQ(handed.drawingColour, mainTextColor) << "forced for the pass";
    EXPECT_EQ(textDrawingColor, nullptr) << "and cleared after it";

    handed = {};
    colorFlowMusicEnabled = false;
    msg<void>(v, sel<"drawRect:">(), CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(handed.calls, 1);
    EXPECT_EQ(handed.drawingColour, nullptr) << "nothing forced without ColorFlow";
}

TEST_F(TextHooksTest, DrawnStringsLoseTheirBackgroundAndTakeTheColourByColorFlow) {
    SavedImplementationStandIn standIn("NSString", "drawWithRect:options:attributes:context:",
                                       reinterpret_cast<IMP>(&recordStringDrawing));
    auto draw = [](id attributes) {
        handed = {};
        msg<void>(NSSTR("text"), sel<"drawWithRect:options:attributes:context:">(), CGRectMake(0, 0, 10, 10), 0L, attributes,
                  id{nullptr});
        EXPECT_EQ(handed.calls, 1);
        return handed.attributes.get();
    };
    auto entry = [](id attributes, id key) { return hexOf(msg<id>(attributes, sel<"objectForKey:">(), key)); };
    id given = objc::dict({{NSBackgroundColorAttributeName, colour(1, 1, 1)}, {NSForegroundColorAttributeName, colour(1, 0, 0)}});

    id drawn = draw(given);
    EXPECT_EQ(msg<id>(drawn, sel<"objectForKey:">(), NSBackgroundColorAttributeName),
              msg<id>(objc_getClass("UIColor"), sel<"clearColor">()));
    EXPECT_EQ(entry(drawn, NSForegroundColorAttributeName), "#F0F0F0");
    EXPECT_EQ(entry(given, NSForegroundColorAttributeName), "#FF0000") << "the caller's attributes stay as they were";

    colorFlowMusicEnabled = true;
    EXPECT_EQ(entry(draw(given), NSForegroundColorAttributeName), "#FF0000") << "outside a drawing view, with ColorFlow";
    EXPECT_EQ(draw(nullptr), nullptr);
}

}  // namespace
}  // namespace obscuro::testing
