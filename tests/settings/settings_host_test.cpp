// The Settings host over HTTP: pages with their token, writes through the controllers, and every refusal leaving the file untouched.
#include "settings_device.h"

#include <settings/SettingsHost.h>

#include <httplib.h>

#include <gtest/gtest.h>

#include <thread>

namespace settings_test {
namespace {

class SettingsHostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SettingsDevice::shared();
        std::string error;
        host_ = new settings::SettingsHost(settings::SettingsSession::open("obscurosettings", &error), "0123456789abcdef0123456789abcdef");
        port_ = host_->bind(0);
        ASSERT_GT(port_, 0);
        thread_ = new std::thread([] { host_->run(); });
    }
    static void TearDownTestSuite() {
        host_->stop();
        thread_->join();
        delete thread_;
        delete host_;
    }
    void SetUp() override { SettingsDevice::shared().reset(); }

    httplib::Result post(const std::string& path, const std::string& body, const char* token = "0123456789abcdef0123456789abcdef") {
        httplib::Client client("127.0.0.1", port_);
        httplib::Headers headers;
        if (token) headers.emplace("X-Obscuro-Token", token);
        return client.Post(path.c_str(), headers, body, "application/json");
    }
    static nlohmann::json json(const httplib::Result& result) { return nlohmann::json::parse(result->body, nullptr, false); }
    bool fileExists() const { return std::filesystem::exists(SettingsDevice::shared().hostPath(kSettingsPath)); }

    static inline settings::SettingsHost* host_ = nullptr;
    static inline std::thread* thread_ = nullptr;
    static inline int port_ = 0;
};

TEST_F(SettingsHostTest, APageCarriesItsTokenAndItsControls) {
    httplib::Client client("127.0.0.1", port_);
    auto page = client.Get("/pages/obscurosettings/Root");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("content=\"0123456789abcdef0123456789abcdef\""), std::string::npos);
    EXPECT_NE(page->body.find("data-key=\"enabled\""), std::string::npos);
    EXPECT_NE(page->body.find("data-label=\"Respring\""), std::string::npos);
    EXPECT_NE(page->body.find("href=\"custom_colors\""), std::string::npos);
    EXPECT_EQ(client.Get("/pages/obscurosettings/Nothing")->status, 404);
    auto rows = client.Get("/api/pages/obscurosettings/custom_colors");
    ASSERT_TRUE(rows);
    EXPECT_EQ(json(rows)[1]["value"], "#121212") << "an unset colour shows its default";
}

TEST_F(SettingsHostTest, WritesGoThroughThePageAndAnswerWhatWasStored) {
    auto result = post("/api/pages/obscurosettings/Root/set", R"({"key": "enabled", "value": true})");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200) << result->body;
    EXPECT_EQ(json(result), (nlohmann::json{{"key", "enabled"}, {"value", true}}));
    result = post("/api/pages/obscurosettings/custom_colors/set", R"({"key": "tintColor", "value": "#FF0000:0.5"})");
    EXPECT_EQ(result->status, 200) << result->body;
    NSDictionary* stored = SettingsDevice::shared().settings();
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->count(), 2u);
    EXPECT_GE(SettingsDevice::shared().changesAfter(0.3), 2);
}

TEST_F(SettingsHostTest, RefusesWhatShouldNeverBeWrittenAndLeavesTheFileAlone) {
    struct Case {
        const char* what;
        std::string page, body;
        const char* token;
        int status;
    };
    const std::string valid = R"({"key": "enabled", "value": true})";
    const Case cases[] = {
        {"no token", "Root", valid, nullptr, 403},
        {"another token", "Root", valid, "ffffffffffffffffffffffffffffffff", 403},
        {"a key no row declares", "Root", R"({"key": "bogus", "value": true})", "0123456789abcdef0123456789abcdef", 400},
        {"a key of another page", "Root", R"({"key": "tintColor", "value": "#FFFFFF"})", "0123456789abcdef0123456789abcdef", 400},
        {"a string for a switch", "Root", R"({"key": "enabled", "value": "yes"})", "0123456789abcdef0123456789abcdef", 400},
        {"a theme not offered", "Root", R"({"key": "theme", "value": "purple"})", "0123456789abcdef0123456789abcdef", 400},
        {"a colour the picker cannot read", "custom_colors", R"({"key": "textColor", "value": "#12345"})", "0123456789abcdef0123456789abcdef", 400},
        {"a number for a colour", "custom_colors", R"({"key": "textColor", "value": 16777215})", "0123456789abcdef0123456789abcdef", 400},
        {"a body that is not JSON", "Root", "enabled=true", "0123456789abcdef0123456789abcdef", 400},
        {"an oversized body", "Root", R"({"key": "theme", "value": ")" + std::string(20000, 'x') + "\"}", "0123456789abcdef0123456789abcdef", 413},
    };
    for (const Case& c : cases) {
        auto result = post("/api/pages/obscurosettings/" + c.page + "/set", c.body, c.token);
        ASSERT_TRUE(result) << c.what;
        EXPECT_EQ(result->status, c.status) << c.what;
        EXPECT_TRUE(json(result)["error"].is_string()) << c.what << ": " << result->body;
    }
    httplib::Client renamed("127.0.0.1", port_);
    renamed.set_default_headers({{"Host", "attacker.example:" + std::to_string(port_)}});
    EXPECT_EQ(renamed.Post("/api/pages/obscurosettings/Root/set", {{"X-Obscuro-Token", "0123456789abcdef0123456789abcdef"}}, valid,
                           "application/json")->status,
              403)
        << "a request that reached the host under another name";
    EXPECT_FALSE(fileExists());
    EXPECT_EQ(SettingsDevice::shared().changesAfter(0.2), 0);
}

TEST_F(SettingsHostTest, AWriteTheFileDoesNotTakeIsAnError) {
    // A directory where the settings file belongs: the file cannot be replaced.
    std::filesystem::path settingsFile = SettingsDevice::shared().hostPath(kSettingsPath);
    std::filesystem::create_directories(settingsFile / "in-the-way");
    auto result = post("/api/pages/obscurosettings/Root/set", R"({"key": "theme", "value": "oled"})");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 500);
    EXPECT_NE(json(result)["error"].get<std::string>().find("could not write \"theme\""), std::string::npos) << result->body;
    EXPECT_TRUE(std::filesystem::is_directory(settingsFile / "in-the-way"));
}

TEST_F(SettingsHostTest, AButtonReportsWhatItOpened) {
    auto result = post("/api/pages/obscurosettings/my_tweaks/tap", R"({"label": "Velvet Dock"})");
    ASSERT_TRUE(result);
    EXPECT_EQ(json(result), (nlohmann::json{{"opened", {"https://repo.tarnwick.example/package/com.tarnwick.velvetdock"}}, {"spawned", nlohmann::json::array()}}));
    EXPECT_EQ(post("/api/pages/obscurosettings/Root/tap", R"({"label": "Nothing"})")->status, 400);
    EXPECT_EQ(post("/api/pages/obscurosettings/Root/tap", R"({"label": "Respring"})", nullptr)->status, 403);
}

}  // namespace
}  // namespace settings_test
