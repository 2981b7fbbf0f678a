// The product's pages as Settings opens them: every setting of the settings file, its default, domain and notification, and the buttons and links.
#include "settings_device.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace settings_test {
namespace {

// What the tweak assumes when a key is absent from the settings file.
const std::map<std::string, nlohmann::json> kAbsentValues = {
    {"enabled", false},         {"theme", "midnight"},         {"noctisIntegration", false},  {"enableDarkKeyboard", true},
    {"useCustomColors", false}, {"displayArtworkShadow", false}, {"useDarkPlaceholder", true}, {"backgroundColor", "#121212"},
    {"secondaryColor", "#121212"}, {"textColor", "#fdfdfd"},   {"barColor", "#121212"},       {"tintColor", "#FFEBEE"},
};

std::vector<PSSpecifier*> specifiersOf(const settings::Page& page) {
    std::vector<PSSpecifier*> result;
    for (const auto& object : msg<NSArray*>(page.controller.get(), sel<"specifiers">())->objects())
        result.push_back(static_cast<PSSpecifier*>(object.get()));
    return result;
}

TEST(SettingsBundle, OpensFromItsPreferenceLoaderEntryWithThreePages) {
    auto& device = SettingsDevice::shared();
    std::vector<std::string> names;
    for (const auto& page : device.session().pages()) names.push_back(page.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Root", "custom_colors", "my_tweaks"}));
    const auto& root = device.page("Root");
    EXPECT_EQ(root.label, "Obscuro");
    EXPECT_STREQ(class_getName(object_getClass(root.controller.get())), "OBRootListController");
    EXPECT_EQ(class_getSuperclass(object_getClass(root.controller.get())), objc_getClass("TarnPrefsRootListController"));
    EXPECT_STREQ(class_getName(object_getClass(device.page("custom_colors").controller.get())), "OBCustomColorsController");
    EXPECT_STREQ(class_getName(object_getClass(device.page("my_tweaks").controller.get())), "MyTweaksController");
    EXPECT_EQ(msg<id>(root.controller.get(), sel<"specifiers">()), msg<id>(root.controller.get(), sel<"specifiers">()))
        << "the page is loaded once and kept";
}

TEST(SettingsBundle, EverySettingIsAnnouncedAndDefaultsToWhatTheTweakAssumes) {
    auto& device = SettingsDevice::shared();
    std::map<std::string, nlohmann::json> defaults;
    for (const auto& page : device.session().pages())
        for (PSSpecifier* specifier : specifiersOf(page)) {
            NSString* key = specifier->stringProperty("key");
            if (!key) continue;
            SCOPED_TRACE(key->utf8());
            EXPECT_EQ(objc::utf8(specifier->stringProperty("defaults")), kDomain);
            EXPECT_EQ(objc::utf8(specifier->stringProperty("PostNotification")), kChanged);
        }
    for (const auto& page : device.session().pages())
        for (const auto& row : device.session().describe(page, false))
            if (row["key"].is_string()) defaults[row["key"].get<std::string>()] = row["default"];
    EXPECT_EQ(defaults, kAbsentValues);
}

TEST(SettingsBundle, TheThemePickerOffersEveryShippedTheme) {
    auto& device = SettingsDevice::shared();
    std::set<std::string> offered;
    for (const auto& row : device.session().describe(device.page("Root"), true))
        if (row["key"] == "theme")
            for (const auto& choice : row["choices"]) offered.insert(choice["value"].get<std::string>());
    // Device paths stay inside the device: the shipped theme file is read through a copy.
    std::filesystem::copy_file(std::string(OBSCURO_SOURCE_DIR) + "/resources/themes.plist", device.hostPath("/var/tmp/themes.plist"),
                               std::filesystem::copy_options::overwrite_existing);
    auto* themes = msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str("/var/tmp/themes.plist"));
    ASSERT_NE(themes, nullptr);
    std::set<std::string> shipped;
    for (id name : themes) shipped.insert(objc::utf8(name));
    EXPECT_EQ(offered, shipped);
}

TEST(SettingsBundle, TheRootPageOffersRestartSupportAndItsSubPages) {
    auto& device = SettingsDevice::shared();
    std::map<std::string, std::string> actions, links;
    for (const auto& row : device.session().describe(device.page("Root"), true)) {
        if (row["action"].is_string()) actions[row["action"]] = row["label"];
        if (row.contains("page")) links[row["page"]] = row["label"];
    }
    EXPECT_EQ(actions.count("respring") + actions.count("openEmail") + actions.count("openTwitter"), 3u);
    EXPECT_EQ(links.count("custom_colors") + links.count("my_tweaks"), 2u);

    std::set<std::string> colourKeys;
    for (const auto& row : device.session().describe(device.page("custom_colors"), true))
        if (row.contains("colour")) colourKeys.insert(row["key"].get<std::string>());
    EXPECT_EQ(colourKeys, (std::set<std::string>{"backgroundColor", "secondaryColor", "textColor", "barColor", "tintColor"}));

    for (const auto& row : device.session().describe(device.page("my_tweaks"), true))
        if (row["cell"] == "PSButtonCell") {
            EXPECT_EQ(row["action"], "openPackageLink:") << row["label"];
        }
}

}  // namespace
}  // namespace settings_test
