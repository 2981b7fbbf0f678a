// The device's killall: "-9 backboardd" restarts the Music app of its own device, and nothing outside that device is ever signalled.
#include "child_process.h"

#include <MusicProcesses.h>

#include <gtest/gtest.h>

#include <signal.h>

namespace settings_test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class Killall : public ::testing::Test {
protected:
    void SetUp() override {
        std::string help;
        run(OBSCURO_MUSIC, {"--help"}, "", &help);
        if (help.find("--serve") == std::string::npos) GTEST_SKIP() << "obscuro-music has no --serve mode to stay running in";
        for (auto* root : {&mine_, &other_}) {
            char pattern[] = "/tmp/settings-killall-XXXXXX";
            ASSERT_NE(::mkdtemp(pattern), nullptr);
            *root = pattern;
            fs::create_directories(*root / "var/mobile/Library/Preferences");
        }
    }
    void TearDown() override {
        for (auto* root : {&mine_, &other_}) {
            if (root->empty()) continue;
            for (pid_t pid : killall::musicProcessesOnDevice(*root)) ::kill(pid, SIGKILL);
            std::error_code error;
            fs::remove_all(*root, error);
        }
    }
    std::unique_ptr<ChildProcess> music(const fs::path& root) {
        auto app = std::make_unique<ChildProcess>(OBSCURO_MUSIC, std::vector<std::string>{"--root", root.string(), "--serve"});
        EXPECT_TRUE(app->waitForLine("Serving", 20s));
        return app;
    }
    fs::path mine_, other_;
};

TEST_F(Killall, RestartsOnlyTheMusicAppOfItsOwnDevice) {
    auto app = music(mine_);
    auto elsewhere = music(other_);
    EXPECT_EQ(killall::musicProcessesOnDevice(mine_), std::vector<pid_t>{app->pid()});

    std::string output;
    EXPECT_EQ(run(OBSCURO_KILLALL, {"-9", "Music"}, mine_.string(), &output), 1) << "only the user interface is restarted";
    EXPECT_EQ(killall::musicProcessesOnDevice(mine_), std::vector<pid_t>{app->pid()});

    EXPECT_EQ(run(OBSCURO_KILLALL, {"-9", "backboardd"}, mine_.string(), &output), 0);
    EXPECT_TRUE(app->waitForLine("Serving", 20s)) << "the app starts again, writing where it wrote before";
    auto now = killall::musicProcessesOnDevice(mine_);
    ASSERT_EQ(now.size(), 1u);
    EXPECT_NE(now[0], app->pid());
    EXPECT_EQ(killall::musicProcessesOnDevice(other_), std::vector<pid_t>{elsewhere->pid()}) << "another device's app is left alone";
}

}  // namespace
}  // namespace settings_test
