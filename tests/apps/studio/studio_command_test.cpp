// `obscuro studio` as a user runs it: usage errors, the address it prints, and a clean stop that leaves no Music app behind, restarted or not.
#include "studio_device.h"

#include "child_process.h"

#include <MusicProcesses.h>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <signal.h>

#include <regex>
#include <thread>

namespace studio_test {
namespace {

using namespace std::chrono_literals;
using settings_test::ChildProcess;

int studioStatus(const std::vector<std::string>& arguments, std::string* output = nullptr) {
    std::vector<std::string> all = {"studio"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return settings_test::run(OBSCURO_COMMAND, all, "", output);
}

TEST(StudioCommand, RefusesWhatItCannotShow) {
    EXPECT_EQ(studioStatus({"--screen", "nowhere"}), 2);
    EXPECT_EQ(studioStatus({"--scale", "0"}), 2);
    EXPECT_EQ(studioStatus({"--scale", "many"}), 2);
    EXPECT_EQ(studioStatus({"--port", "70000"}), 2);
    EXPECT_EQ(studioStatus({"--port"}), 2);
    EXPECT_EQ(studioStatus({"--colour", "red"}), 2);
    EXPECT_EQ(studioStatus({"--root", "/nonexistent/device"}), 1);
    std::string help;
    EXPECT_EQ(studioStatus({"--help"}, &help), 0);
    EXPECT_NE(help.find("usage: obscuro studio"), std::string::npos);
}

TEST(StudioCommand, StopsOnSigtermAndTakesTheRestartedAppWithIt) {
    CopiedDevice device;
    ChildProcess studio(OBSCURO_COMMAND, {"studio", "--root", device.root().string(), "--port", "0", "--scale", "1"});
    auto address = studio.readLine(30s);
    ASSERT_TRUE(address);
    std::smatch match;
    ASSERT_TRUE(std::regex_match(*address, match, std::regex(R"(http://127\.0\.0\.1:(\d+)/studio)"))) << *address;
    httplib::Client client("127.0.0.1", std::stoi(match[1]));

    auto state = [&] {
        auto reply = client.Get("/studio/state");
        return reply ? nlohmann::json::parse(reply->body) : nlohmann::json();
    };
    auto waitFor = [&](const std::function<bool(const nlohmann::json&)>& wanted) {
        for (auto deadline = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < deadline;
             std::this_thread::sleep_for(50ms))
            if (auto now = state(); now.is_object() && wanted(now)) return now;
        return state();
    };
    nlohmann::json first = waitFor([](const nlohmann::json& s) { return s["running"] == true; });
    ASSERT_EQ(first["running"], true) << first.dump();

    std::string page = client.Get("/studio")->body;
    std::smatch token;
    ASSERT_TRUE(std::regex_search(page, token, std::regex(R"re("token":"([0-9a-f]+)")re")));
    auto tapped = client.Post("/api/pages/obscurosettings/Root/tap", {{"X-Obscuro-Token", token[1]}}, R"({"label": "Respring"})",
                              "application/json");
    ASSERT_TRUE(tapped);
    ASSERT_EQ(tapped->status, 200) << tapped->body;
    nlohmann::json restarted = waitFor([&](const nlohmann::json& s) { return s["running"] == true && s["process"] != first["process"]; });
    ASSERT_NE(restarted["process"], first["process"]) << "the restart button started no new app";

    auto stopping = std::chrono::steady_clock::now();
    studio.kill(SIGTERM);
    EXPECT_EQ(studio.finish(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, 8s);
    EXPECT_TRUE(killall::musicProcessesOnDevice(device.root()).empty()) << "a Music app of the studio outlived it";
}

}  // namespace
}  // namespace studio_test
