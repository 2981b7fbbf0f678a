// PreferenceLoader's entries: which entry plists name a usable bundle, and why the others are left out.
#include "preferences_fixture.h"

#include <Preferences/PreferenceLoader.h>

namespace preferences_test {
namespace {

class PreferenceLoaderTest : public PreferencesTest {
protected:
    void entry(const char* file, NSDictionary* entry) {
        writePlist(std::string(platform::kPreferenceLoaderFolder) + "/" + file, objc::dict({{NSSTR("entry"), entry}}));
    }
};

TEST_F(PreferenceLoaderTest, ListsTheEntriesThatNameABundleAndSaysWhyOthersAreLeftOut) {
    entry("B.plist", objc::dict({{NSSTR("bundle"), NSSTR("TestPrefs")}, {NSSTR("cell"), NSSTR("PSLinkCell")}, {NSSTR("label"), NSSTR("Test Prefs")},
                                 {NSSTR("isController"), NSNumber::createBool(true).get()}}));
    entry("A.plist", objc::dict({{NSSTR("bundle"), NSSTR("TestPrefs")}}));
    entry("C.plist", objc::dict({{NSSTR("bundle"), NSSTR("Missing")}}));
    entry("D.plist", objc::dict({{NSSTR("bundle"), NSSTR("../TestPrefs")}}));
    writeText(std::string(platform::kPreferenceLoaderFolder) + "/E.plist", "junk");
    writeText(std::string(platform::kPreferenceLoaderFolder) + "/notes.txt", "ignored");

    std::vector<std::string> problems;
    auto entries = platform::preferenceLoaderEntries(&problems);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].label, "TestPrefs") << "an entry without a label shows its bundle's name";
    EXPECT_EQ(entries[1].label, "Test Prefs");
    EXPECT_EQ(entries[1].bundlePath, kBundlePath);
    EXPECT_EQ(objc::utf8(entries[1].specifier->stringProperty("label")), "Test Prefs");
    EXPECT_EQ(problems.size(), 3u);
    EXPECT_EQ(platform::preferenceLoaderEntryNamed("Nothing").bundleName, "");
}

TEST_F(PreferenceLoaderTest, ABundleWithoutALibraryOrListControllerOpensNoPage) {
    entry("A.plist", objc::dict({{NSSTR("bundle"), NSSTR("TestPrefs")}, {NSSTR("detail"), NSSTR("TestPage")}}));
    auto found = platform::preferenceLoaderEntryNamed("TestPrefs");
    ASSERT_EQ(found.bundleName, "TestPrefs");
    std::string error;
    EXPECT_FALSE(platform::rootControllerForEntry(found, &error));
    EXPECT_NE(error.find("cannot be loaded"), std::string::npos) << error;
}

}  // namespace
}  // namespace preferences_test
