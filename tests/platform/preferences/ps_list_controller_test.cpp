// The stock settings getter and setter: the domain's file read afresh, written whole and atomically, and the change announced.
#include "preferences_fixture.h"

#include <fstream>

namespace preferences_test {
namespace {

class ListControllerTest : public PreferencesTest {
protected:
    // A switch specifier of the test domain targeting `controller`.
    PSSpecifier* setting(PSListController* controller, const char* key, id defaultValue, bool notifies, const char* domain = kDomain) {
        auto* specifier = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                            static_cast<NSString*>(objc::str(key)), static_cast<id>(controller),
                                            sel<"setPreferenceValue:specifier:">(), sel<"readPreferenceValue:">(), static_cast<Class>(nullptr),
                                            static_cast<long>(PSSwitchCell), static_cast<Class>(nullptr));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(key)), static_cast<id>(NSSTR("key")));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(domain)), static_cast<id>(NSSTR("defaults")));
        if (defaultValue) msg<void>(specifier, sel<"setProperty:forKey:">(), defaultValue, static_cast<id>(NSSTR("default")));
        if (notifies) msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(kChanged)), static_cast<id>(NSSTR("PostNotification")));
        return specifier;
    }
    static id read(PSSpecifier* specifier) { return msg<id>(specifier, sel<"performGetter">()); }
    static void write(PSSpecifier* specifier, id value) { msg<void>(specifier, sel<"performSetterWithValue:">(), value); }
};

TEST_F(ListControllerTest, ReadsTheFileAfreshAndFallsBackToTheDefault) {
    auto controller = page();
    auto yes = NSNumber::createBool(true);
    PSSpecifier* withDefault = setting(controller, "enabled", yes, false);
    PSSpecifier* withoutDefault = setting(controller, "theme", nullptr, false);

    EXPECT_EQ(read(withDefault), static_cast<id>(yes.get())) << "no file: the default";
    EXPECT_EQ(read(withoutDefault), nullptr) << "no file and no default: nothing";

    writePlist(kSettingsPath, objc::dict({{NSSTR("enabled"), NSNumber::createBool(false).get()}, {NSSTR("theme"), NSSTR("oled")}}));
    EXPECT_FALSE(msg<BOOL>(read(withDefault), sel<"boolValue">()));
    EXPECT_EQ(objc::utf8(read(withoutDefault)), "oled");

    writePlist(kSettingsPath, objc::dict({{NSSTR("theme"), NSSTR("ember")}}));
    EXPECT_EQ(objc::utf8(read(withoutDefault)), "ember") << "a change made behind the page's back shows at once";
    EXPECT_EQ(read(withDefault), static_cast<id>(yes.get())) << "a key gone from the file reads as the default";
}

TEST_F(ListControllerTest, WritesKeepEveryKeyAndAnnounceTheChange) {
    auto controller = page();
    write(setting(controller, "enabled", nullptr, true), NSNumber::createBool(true));
    NSDictionary* first = settings();
    ASSERT_NE(first, nullptr) << "the first write creates the file";
    EXPECT_EQ(first->count(), 1u);
    EXPECT_EQ(changesAfter(0.3), 1);

    write(setting(controller, "theme", nullptr, true), NSSTR("oled"));
    NSDictionary* both = settings();
    ASSERT_EQ(both->count(), 2u) << "the second write keeps the first key";
    EXPECT_TRUE(msg<BOOL>(both->objectForKey(NSSTR("enabled")), sel<"boolValue">()));
    EXPECT_EQ(objc::utf8(both->objectForKey(NSSTR("theme"))), "oled");
    EXPECT_EQ(changesAfter(0.3), 2);
}

TEST_F(ListControllerTest, ASpecifierWithoutPostNotificationWritesSilently) {
    auto controller = page();
    write(setting(controller, "enabled", nullptr, false), NSNumber::createBool(true));
    ASSERT_NE(settings(), nullptr);
    EXPECT_EQ(settings()->count(), 1u);
    EXPECT_EQ(changesAfter(0.3), 0);
}

TEST_F(ListControllerTest, AnUnreadableFileIsReplacedByTheKeyWritten) {
    writeText(kSettingsPath, "this is not a property list");
    auto controller = page();
    write(setting(controller, "theme", nullptr, false), NSSTR("slate"));
    ASSERT_NE(settings(), nullptr);
    EXPECT_EQ(settings()->count(), 1u);
}

TEST_F(ListControllerTest, AStoredNumberIsRewrittenAsTheBooleanWritten) {
    writePlist(kSettingsPath, objc::dict({{NSSTR("enabled"), NSNumber::createInteger(1).get()}}));
    auto controller = page();
    write(setting(controller, "enabled", nullptr, false), NSNumber::createBool(true));
    auto* stored = static_cast<NSNumber*>(settings()->objectForKey(NSSTR("enabled")));
    EXPECT_TRUE(stored->isBoolean());
}

TEST_F(ListControllerTest, ADomainThatWouldLeaveThePreferencesFolderWritesNothing) {
    auto controller = page();
    for (const char* domain : {"../../Library/evil", "nested/domain", ".hidden", ""}) {
        write(setting(controller, "enabled", nullptr, true, domain), NSNumber::createBool(true));
        EXPECT_EQ(platform::preferencesFilePath(objc::str(domain)), "") << domain;
    }
    EXPECT_FALSE(std::filesystem::exists(hostPath("/Library/evil.plist")));
    EXPECT_TRUE(std::filesystem::is_empty(hostPath("/var/mobile/Library/Preferences")));
    EXPECT_EQ(changesAfter(0.2), 0);
    EXPECT_EQ(platform::preferencesFilePath(objc::str(kDomain)), kSettingsPath);
}

TEST_F(ListControllerTest, ALinkOpensAPageOfItsDetailClassWithTheParentsBundle) {
    auto controller = page();
    auto* link = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                   static_cast<NSString*>(NSSTR("More")), static_cast<id>(controller.get()), static_cast<SEL>(nullptr),
                                   static_cast<SEL>(nullptr), testPageClass(), static_cast<long>(PSLinkCell), static_cast<Class>(nullptr));
    auto* child = msg<PSListController*>(controller.get(), sel<"controllerForSpecifier:">(), link);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->specifier.get(), link);
    EXPECT_EQ(child->parentController, controller.get());
    EXPECT_EQ(child->bundle.get(), controller->bundle.get());

    link->detailControllerClass = NSString::class_();
    EXPECT_EQ(msg<id>(controller.get(), sel<"controllerForSpecifier:">(), link), nullptr) << "only list controllers open as pages";
}

}  // namespace
}  // namespace preferences_test
