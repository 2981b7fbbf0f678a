// Specifier files read into specifiers, and button actions and getters sent only with the signature they need.
#include "preferences_fixture.h"

namespace preferences_test {
namespace {

class SpecifierTest : public PreferencesTest {
protected:
    NSArray* load(const char* name, PSListController* controller) {
        return msg<NSArray*>(controller, sel<"loadSpecifiersFromPlistName:target:">(), static_cast<NSString*>(objc::str(name)),
                             static_cast<id>(controller));
    }
    static PSSpecifier* at(NSArray* list, std::size_t i) { return static_cast<PSSpecifier*>(list->objects().at(i).get()); }
};

TEST_F(SpecifierTest, ReadsEachCellOfASpecifierFileAsThePhoneDoes) {
    auto* domain = objc::str(kDomain);
    auto yes = NSNumber::createBool(true);
    auto no = NSNumber::createBool(false);
    NSArray* items = objc::array({
        item("PSGroupCell", "General", {{NSSTR("footerText"), NSSTR("Footnote")}}),
        item("PSSwitchCell", "Enabled",
             {{NSSTR("key"), NSSTR("enabled")}, {NSSTR("defaults"), domain}, {NSSTR("default"), yes}, {NSSTR("id"), NSSTR("enabledSwitch")}}),
        item("PSLinkListCell", "Theme",
             {{NSSTR("key"), NSSTR("theme")}, {NSSTR("validValues"), objc::array({NSSTR("a"), NSSTR("b")})},
              {NSSTR("validTitles"), objc::array({NSSTR("Alpha"), NSSTR("Beta")})}}),
        item("PSButtonCell", "Go", {{NSSTR("action"), NSSTR("tapped")}}),
        item("PSLinkCell", "More", {{NSSTR("detail"), NSSTR("TestPage")}}),
        item("PSLinkCell", "Tint",
             {{NSSTR("cellClass"), NSSTR("PFSimpleLiteColorCell")},
              {NSSTR("libcolorpicker"), objc::dict({{NSSTR("defaults"), domain}, {NSSTR("key"), NSSTR("tintColor")}, {NSSTR("fallback"), NSSTR("#FFEBEE")},
                                                    {NSSTR("PostNotification"), objc::str(kChanged)}, {NSSTR("alpha"), no}})}}),
        item("PSEditTextCell", "Name", {{NSSTR("key"), NSSTR("name")}, {NSSTR("get"), NSSTR("customGet:")}, {NSSTR("set"), NSSTR("customSet:specifier:")}}),
        item("PSFancyCell", "Odd"),
        NSSTR("not a dictionary"),
    });
    writePlist(std::string(kBundlePath) + "/Page.plist", objc::dict({{NSSTR("title"), NSSTR("Test Page")}, {NSSTR("items"), items}}));

    auto controller = page();
    NSArray* list = load("Page", controller);
    ASSERT_EQ(list->count(), 8u) << "the entry that is not a dictionary is skipped";
    EXPECT_EQ(objc::utf8(msg<id>(controller.get(), sel<"title">())), "Test Page");
    EXPECT_EQ(controller->specifierFileName, "Page");

    EXPECT_EQ(at(list, 0)->cellType, PSGroupCell);
    EXPECT_EQ(objc::utf8(at(list, 0)->stringProperty("footerText")), "Footnote");

    PSSpecifier* toggle = at(list, 1);
    EXPECT_EQ(toggle->cellType, PSSwitchCell);
    EXPECT_EQ(objc::utf8(toggle->name.get()), "Enabled");
    EXPECT_EQ(objc::utf8(toggle->identifier.get()), "enabledSwitch");
    EXPECT_EQ(toggle->getter, sel<"readPreferenceValue:">());
    EXPECT_EQ(toggle->setter, sel<"setPreferenceValue:specifier:">());
    EXPECT_EQ(toggle->target, static_cast<id>(controller.get()));

    PSSpecifier* list_ = at(list, 2);
    EXPECT_EQ(list_->detailControllerClass, PSListItemsController::class_()) << "a link list opens the list of its choices";
    EXPECT_EQ(objc::utf8(list_->titleDictionary->objectForKey(NSSTR("b"))), "Beta");

    EXPECT_EQ(at(list, 3)->buttonAction, sel<"tapped">());
    EXPECT_EQ(at(list, 3)->getter, nullptr) << "a cell without a key reads nothing";
    EXPECT_EQ(at(list, 4)->detailControllerClass, testPageClass());

    PSSpecifier* colour = at(list, 5);
    EXPECT_EQ(objc::utf8(colour->stringProperty("key")), "tintColor") << "the colour picker's dictionary names the setting";
    EXPECT_EQ(objc::utf8(colour->stringProperty("defaults")), kDomain);
    EXPECT_EQ(objc::utf8(colour->stringProperty("default")), "#FFEBEE");
    EXPECT_EQ(objc::utf8(colour->stringProperty("PostNotification")), kChanged);
    EXPECT_EQ(colour->setter, sel<"setPreferenceValue:specifier:">());

    EXPECT_EQ(at(list, 6)->getter, sel<"customGet:">());
    EXPECT_EQ(at(list, 6)->setter, sel<"customSet:specifier:">());
    EXPECT_EQ(at(list, 7)->cellType, PSStaticTextCell) << "an unknown cell shows its label";
}

TEST_F(SpecifierTest, AMissingMalformedOrOutsideFileGivesAnEmptyPage) {
    writeText(std::string(kBundlePath) + "/Broken.plist", "<plist><array><string>x</string></array></plist>");
    writePlist("/Library/Outside.plist", objc::dict({{NSSTR("items"), objc::array({item("PSGroupCell", "X")})}}));
    auto controller = page();
    for (const char* name : {"Missing", "Broken", "../../Outside", ""}) {
        NSArray* list = load(name, controller);
        ASSERT_NE(list, nullptr) << name;
        EXPECT_EQ(list->count(), 0u) << name;
    }
}

TEST_F(SpecifierTest, ButtonActionsRunOnlyWithASignatureTheyCanBeSent) {
    auto controller = page();
    auto* button = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                     static_cast<NSString*>(NSSTR("Go")), static_cast<id>(controller.get()), static_cast<SEL>(nullptr),
                                     static_cast<SEL>(nullptr), static_cast<Class>(nullptr), static_cast<long>(PSButtonCell), static_cast<Class>(nullptr));
    button->buttonAction = sel<"tapped">();
    EXPECT_TRUE(platform::performButtonAction(button));
    EXPECT_EQ(gTapped, 1);

    button->buttonAction = sel<"tappedWith:">();
    EXPECT_TRUE(platform::performButtonAction(button));
    EXPECT_EQ(gTappedWith, static_cast<id>(button)) << "a one-argument action receives the specifier";

    for (SEL refused : {sel<"badAction:">(), sel<"noSuchAction">()}) {
        button->buttonAction = refused;
        EXPECT_FALSE(platform::performButtonAction(button)) << sel_getName(refused);
    }
    EXPECT_EQ(gTapped, 1);
    button->target = nullptr;
    button->buttonAction = sel<"tapped">();
    EXPECT_FALSE(platform::performButtonAction(button));
    EXPECT_FALSE(platform::performButtonAction(nullptr));
}

TEST_F(SpecifierTest, AGetterOrSetterTheTargetCannotTakeIsNotSent) {
    auto controller = page();
    auto* specifier = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                        static_cast<NSString*>(NSSTR("Odd")), static_cast<id>(controller.get()), sel<"badAction:">(),
                                        sel<"badAction:">(), static_cast<Class>(nullptr), static_cast<long>(PSSwitchCell), static_cast<Class>(nullptr));
    EXPECT_EQ(msg<id>(specifier, sel<"performGetter">()), nullptr);
    msg<void>(specifier, sel<"performSetterWithValue:">(), static_cast<id>(NSSTR("x")));
    EXPECT_EQ(gTapped, 0);
}

}  // namespace
}  // namespace preferences_test
