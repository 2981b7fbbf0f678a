// The maker's root controller: settings read afresh, written whole and announced, the restart, and the support links.
#include "settings_device.h"

#include <UIKit/UIApplication.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace settings_test {
namespace {

class RootControllerTest : public ::testing::Test {
protected:
    void SetUp() override { device.reset(); }

    PSListController* root() { return device.page("Root").controller.get(); }
    // A setting of the root page made in code, as a specifier file would describe it.
    PSSpecifier* setting(const char* key, id defaultValue, bool notifies) {
        auto* specifier = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                            static_cast<NSString*>(objc::str(key)), static_cast<id>(root()), sel<"setPreferenceValue:specifier:">(),
                                            sel<"readPreferenceValue:">(), static_cast<Class>(nullptr), static_cast<long>(PSSwitchCell),
                                            static_cast<Class>(nullptr));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(key)), static_cast<id>(NSSTR("key")));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(kDomain)), static_cast<id>(NSSTR("defaults")));
        if (defaultValue) msg<void>(specifier, sel<"setProperty:forKey:">(), defaultValue, static_cast<id>(NSSTR("default")));
        if (notifies) msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(kChanged)), static_cast<id>(NSSTR("PostNotification")));
        return specifier;
    }
    id read(PSSpecifier* specifier) { return msg<id>(root(), sel<"readPreferenceValue:">(), specifier); }
    void write(id value, PSSpecifier* specifier) { msg<void>(root(), sel<"setPreferenceValue:specifier:">(), value, specifier); }

    // The URLs the controller opens while `action` runs, with `schemes` installed.
    std::vector<std::string> opened(const char* action, std::set<std::string> schemes = {"http", "https", "mailto"}) {
        std::vector<std::string> urls;
        platform::setOpenableSchemes(std::move(schemes));
        platform::setURLHandler([&urls](const std::string& url) {
            urls.push_back(url);
            return true;
        });
        msg<void>(root(), sel_registerName(action));
        platform::setURLHandler(nullptr);
        platform::setOpenableSchemes({"http", "https", "mailto"});
        return urls;
    }

    SettingsDevice& device = SettingsDevice::shared();
    objc::AutoreleasePool pool;
};

TEST_F(RootControllerTest, ReadsTheFileAfreshAndFallsBackToTheDefault) {
    auto yes = NSNumber::createBool(true);
    PSSpecifier* withDefault = setting("enableDarkKeyboard", yes, true);
    PSSpecifier* withoutDefault = setting("theme", nullptr, true);
    EXPECT_EQ(read(withDefault), static_cast<id>(yes.get()));
    EXPECT_EQ(read(withoutDefault), nullptr) << "an absent key without a default reads as nothing";

    device.writeSettings(objc::dict({{NSSTR("theme"), NSSTR("ocean")}}));
    EXPECT_EQ(objc::utf8(read(withoutDefault)), "ocean");
    device.writeSettings(objc::dict({{NSSTR("theme"), NSSTR("ember")}}));
    EXPECT_EQ(objc::utf8(read(withoutDefault)), "ember") << "the file is read on every read";
}

TEST_F(RootControllerTest, TheFirstWriteCreatesTheFileWithOneKeyAndTheNextKeepsIt) {
    write(NSNumber::createBool(true), setting("enabled", nullptr, true));
    ASSERT_NE(device.settings(), nullptr);
    EXPECT_EQ(device.settings()->count(), 1u);
    EXPECT_GE(device.changesAfter(0.3), 1);

    write(NSSTR("forest"), setting("theme", nullptr, true));
    NSDictionary* both = device.settings();
    ASSERT_EQ(both->count(), 2u);
    EXPECT_TRUE(msg<BOOL>(both->objectForKey(NSSTR("enabled")), sel<"boolValue">()));
    EXPECT_EQ(objc::utf8(both->objectForKey(NSSTR("theme"))), "forest");
}

TEST_F(RootControllerTest, ASpecifierWithoutPostNotificationPostsNothing) {
    write(NSNumber::createBool(false), setting("useDarkPlaceholder", nullptr, false));
    ASSERT_NE(device.settings(), nullptr);
    EXPECT_EQ(device.settings()->count(), 1u);
    EXPECT_EQ(device.changesAfter(0.3), 0);
}

TEST_F(RootControllerTest, AnUnreadableFileIsRecreatedWithTheKeyWritten) {
    std::ofstream(device.hostPath(kSettingsPath)) << "<plist><dict><key>broken";
    write(NSSTR("slate"), setting("theme", nullptr, false));
    ASSERT_NE(device.settings(), nullptr);
    EXPECT_EQ(device.settings()->count(), 1u);
}

TEST_F(RootControllerTest, RespringRunsKillallAndWaitsForIt) {
    msg<void>(root(), sel<"respring">());
    std::ifstream recorded(device.hostPath("/var/tmp/killall.args"));
    std::string line;
    std::vector<std::string> arguments;
    while (std::getline(recorded, line)) arguments.push_back(line);
    EXPECT_EQ(arguments, (std::vector<std::string>{"-9", "backboardd"})) << "killall has finished when respring returns";
}

TEST_F(RootControllerTest, TheSupportMailNamesThePageAndEncodesItsSubject) {
    EXPECT_EQ(opened("openEmail"), (std::vector<std::string>{"mailto:support@tarnwick.example?subject=Obscuro%20Support&body="}));
}

TEST_F(RootControllerTest, TheProfileOpensInTheFirstInstalledClientElseOnTheWeb) {
    EXPECT_EQ(opened("openTwitter"), (std::vector<std::string>{"https://twitter.com/tarnwick"}));
    EXPECT_EQ(opened("openTwitter", {"https", "twitterrific", "tweetings"}),
              (std::vector<std::string>{"twitterrific:///profile?screen_name=tarnwick"}));
    EXPECT_EQ(opened("openTwitter", {"https", "tweetings", "tweetbot", "twitter"}),
              (std::vector<std::string>{"twitter://user?screen_name=tarnwick"}));
    EXPECT_EQ(opened("openTwitter", {"tweetbot"}), (std::vector<std::string>{"tweetbot:///user_profile/tarnwick"}));
}

TEST(MyTweaksController, APackageLinkIsTheLowerCasedNameWithoutSpaces) {
    auto& device = SettingsDevice::shared();
    objc::AutoreleasePool pool;
    PSListController* page = device.page("my_tweaks").controller.get();
    std::vector<std::string> urls;
    platform::setURLHandler([&urls](const std::string& url) {
        urls.push_back(url);
        return true;
    });
    auto* package = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                      static_cast<NSString*>(NSSTR("My Tweak 2")), static_cast<id>(page), static_cast<SEL>(nullptr),
                                      static_cast<SEL>(nullptr), static_cast<Class>(nullptr), static_cast<long>(PSButtonCell), static_cast<Class>(nullptr));
    msg<void>(page, sel<"openPackageLink:">(), package);
    platform::setURLHandler(nullptr);
    EXPECT_EQ(urls, (std::vector<std::string>{"https://repo.tarnwick.example/package/com.tarnwick.mytweak2"}));
}

}  // namespace
}  // namespace settings_test
