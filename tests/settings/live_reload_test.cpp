// End to end: a running Music app picks up `obscuro settings set` without a restart, and the restart button makes `enabled` take effect.
#include "child_process.h"
#include "settings_device.h"

#include <MusicProcesses.h>

#include <gtest/gtest.h>

#include <signal.h>

namespace settings_test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class LiveReload : public ::testing::Test {
protected:
    void SetUp() override {
        std::string help;
        run(OBSCURO_MUSIC, {"--help"}, "", &help);
        if (help.find("--serve") == std::string::npos) GTEST_SKIP() << "obscuro-music has no --serve mode to stay running in";
        fs::path staged = OBSCURO_DEVICE_ROOT;
        ASSERT_TRUE(fs::exists(staged / "Library/MobileSubstrate/DynamicLibraries/Obscuro.dylib"))
            << "the default device has no tweak library; build the target stage_device";
        char pattern[] = "/tmp/settings-live-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        for (const char* folder : {"Library", "Applications"})
            if (fs::exists(staged / folder)) fs::copy(staged / folder, root_ / folder, fs::copy_options::recursive);
        installSettingsBundle(root_);
        fs::copy_file(OBSCURO_KILLALL, root_ / "usr/bin/killall", fs::copy_options::overwrite_existing);
    }
    void TearDown() override {
        music_.reset();
        // A restart leaves a Music app that is nobody's child: end it by its device.
        for (pid_t pid : killall::musicProcessesOnDevice(root_)) ::kill(pid, SIGKILL);
        std::error_code error;
        if (!root_.empty()) fs::remove_all(root_, error);
    }
    int obscuro(const std::vector<std::string>& arguments) {
        std::vector<std::string> all = {"settings"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::string output;
        return run(OBSCURO_COMMAND, all, root_.string(), &output);
    }
    void startMusic() {
        music_ = std::make_unique<ChildProcess>(OBSCURO_MUSIC, std::vector<std::string>{"--root", root_.string(), "--serve"});
        ASSERT_TRUE(music_->waitForLine("Serving", 20s)) << "the Music app did not start serving";
    }

    fs::path root_;
    std::unique_ptr<ChildProcess> music_;
};

// How soon it holds it is bench_settings' figure; here, that each colour set arrives, in turn.
TEST_F(LiveReload, TheRunningAppHoldsEachNewColourWithoutARestart) {
    ASSERT_EQ(obscuro({"set", "enabled", "true"}), 0);
    ASSERT_EQ(obscuro({"set", "useCustomColors", "true"}), 0);
    startMusic();
    for (const char* colour : {"#102030", "#203040", "#304050", "#405060", "#506070"}) {
        ASSERT_EQ(obscuro({"set", "tintColor", colour}), 0);
        auto line = music_->waitForLine(std::string("tintColor"), 10s);
        while (line && line->find(colour) == std::string::npos) line = music_->waitForLine("tintColor", 10s);
        ASSERT_TRUE(line) << "the Music app never showed " << colour;
    }
}

TEST_F(LiveReload, EnablingTakesEffectAfterTheRestartButton) {
    startMusic();
    ASSERT_EQ(obscuro({"set", "enabled", "true"}), 0);
    ASSERT_EQ(obscuro({"tap", "Root", "Respring"}), 0);
    auto replaced = music_->waitForLine("Methods replaced (", 20s);
    ASSERT_TRUE(replaced) << "the Music app did not start again";
    EXPECT_EQ(replaced->find("Methods replaced (0)"), std::string::npos) << "the restarted app loaded the tweak enabled: " << *replaced;
}

}  // namespace
}  // namespace settings_test
