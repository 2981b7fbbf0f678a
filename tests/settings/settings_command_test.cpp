// `obscuro settings`: pages as JSON, typed reads and writes through the controllers, refusals with status 2, and button actions.
#include "child_process.h"
#include "settings_device.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace settings_test {
namespace {

class SettingsCommand : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/settings-command-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        installSettingsBundle(root_);
        std::filesystem::copy_file(OBSCURO_KILLALL, root_ / "usr/bin/killall");
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }
    int obscuro(const std::vector<std::string>& arguments, std::string* output = nullptr) {
        std::vector<std::string> all = {"settings"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::string ignored;
        return run(OBSCURO_COMMAND, all, root_.string(), output ? output : &ignored);
    }
    nlohmann::json jsonOf(const std::vector<std::string>& arguments) {
        std::string output;
        EXPECT_EQ(obscuro(arguments, &output), 0) << output;
        return nlohmann::json::parse(output, nullptr, false);
    }
    std::string settingsFile() const {
        std::ifstream in(root_ / std::string(kSettingsPath).substr(1));
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    std::filesystem::path root_;
};

TEST_F(SettingsCommand, ListsEveryPageWithItsRows) {
    auto pages = jsonOf({"list"});
    ASSERT_TRUE(pages.is_object());
    EXPECT_EQ(pages.size(), 3u);
    for (const char* page : {"Root", "custom_colors", "my_tweaks"}) {
        ASSERT_TRUE(pages[page].is_array()) << page;
        for (const auto& row : pages[page]) {
            std::vector<std::string> fields;
            for (const auto& [field, value] : row.items()) fields.push_back(field);
            EXPECT_EQ(fields, (std::vector<std::string>{"action", "cell", "default", "key", "label"}));
        }
    }
}

TEST_F(SettingsCommand, WritesAreTypedByTheirRowAndReadBack) {
    EXPECT_EQ(jsonOf({"get", "theme"}), "midnight") << "unset: the row's default";
    EXPECT_EQ(jsonOf({"set", "theme", "oled"}), (nlohmann::json{{"key", "theme"}, {"value", "oled"}}));
    EXPECT_EQ(jsonOf({"set", "enabled", "yes"})["value"], true);
    EXPECT_EQ(jsonOf({"set", "textColor", "#ABCDEF"})["value"], "#ABCDEF");
    EXPECT_EQ(jsonOf({"get", "enabled"}), true);
    EXPECT_EQ(jsonOf({"get", "theme"}), "oled");
    EXPECT_NE(settingsFile().find("<true/>"), std::string::npos) << "a switch is stored as a boolean";
}

TEST_F(SettingsCommand, RefusesKeysNoRowDeclaresAndValuesOfTheWrongType) {
    ASSERT_EQ(obscuro({"set", "theme", "slate"}), 0);
    std::string before = settingsFile();
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"set", "bogus", "1"}, {"get", "bogus"}, {"set", "enabled", "maybe"}, {"set", "theme", "purple"}, {"set", "tintColor", "#12"},
             {"set", "enabled"}, {"tap", "Root", "Nothing"}, {"tap", "Nowhere", "Respring"}, {"frobnicate"}})
        EXPECT_EQ(obscuro(arguments), 2) << arguments[0] << " " << (arguments.size() > 1 ? arguments[1] : "");
    EXPECT_EQ(settingsFile(), before);
}

TEST_F(SettingsCommand, AWriteTheFileDoesNotTakeIsAFailure) {
    std::filesystem::create_directories(root_ / std::string(kSettingsPath).substr(1) / "in-the-way");
    std::string output;
    EXPECT_EQ(obscuro({"set", "theme", "oled"}, &output), 1) << output;
    EXPECT_EQ(output.find("\"oled\""), std::string::npos) << output;
    EXPECT_TRUE(std::filesystem::is_directory(root_ / std::string(kSettingsPath).substr(1) / "in-the-way"));
}

TEST_F(SettingsCommand, TapReportsTheURLsOpenedAndTheProgramsSpawned) {
    EXPECT_EQ(jsonOf({"tap", "Root", "Contact Support"})["opened"],
              (nlohmann::json{"mailto:support@tarnwick.example?subject=Obscuro%20Support&body="}));
    EXPECT_EQ(jsonOf({"tap", "Root", "Follow @tarnwick", "--can-open", "tweetings", "--can-open", "tweetbot"})["opened"],
              (nlohmann::json{"tweetbot:///user_profile/tarnwick"}));
    EXPECT_EQ(jsonOf({"tap", "my_tweaks", "Calm Badges"})["opened"], (nlohmann::json{"https://repo.tarnwick.example/package/com.tarnwick.calmbadges"}));
    auto respring = jsonOf({"tap", "Root", "Respring"});
    EXPECT_EQ(respring, (nlohmann::json{{"opened", nlohmann::json::array()},
                                        {"spawned", {{{"path", "/usr/bin/killall"}, {"args", {"killall", "-9", "backboardd"}}}}}}));
}

}  // namespace
}  // namespace settings_test
