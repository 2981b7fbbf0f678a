// Writers in separate processes: no key lost between two pages writing at once, and a writer killed mid-write leaves a whole file.
#include "child_process.h"
#include "settings_device.h"

#include <device/device.h>

#include <gtest/gtest.h>

#include <random>
#include <signal.h>

namespace settings_test {
namespace {

class ConcurrentWriters : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/settings-writers-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        installSettingsBundle(root_);
        device::setRoot(root_);
    }
    void TearDown() override {
        device::setRoot("");
        std::error_code error;
        std::filesystem::remove_all(root_, error);
    }
    NSDictionary* settings() {
        return msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(kSettingsPath));
    }

    std::filesystem::path root_;
    objc::AutoreleasePool pool_;
};

// One writer goes through the maker's root controller, the other through the framework's own
// setter (the custom-colours page): both take the same lock.
TEST_F(ConcurrentWriters, TwoProcessesWritingDifferentKeysLoseNothing) {
    ChildProcess root(OBSCURO_SETTINGS_WRITER, {root_.string(), "Root", "root", "200"});
    ChildProcess colours(OBSCURO_SETTINGS_WRITER, {root_.string(), "custom_colors", "colours", "200"});
    ASSERT_EQ(root.finish(), 0);
    ASSERT_EQ(colours.finish(), 0);
    NSDictionary* stored = settings();
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->count(), 400u);
    for (int i = 0; i < 200; ++i) {
        EXPECT_NE(stored->objectForKey(objc::str("root" + std::to_string(i))), nullptr) << i;
        EXPECT_NE(stored->objectForKey(objc::str("colours" + std::to_string(i))), nullptr) << i;
    }
}

TEST_F(ConcurrentWriters, AWriterKilledMidWriteLeavesAWholeFileWithEveryFinishedKey) {
    std::mt19937 random(7);
    std::vector<std::string> finished;
    for (int round = 0; round < 10; ++round) {
        std::string prefix = "round" + std::to_string(round) + "_";
        ChildProcess writer(OBSCURO_SETTINGS_WRITER, {root_.string(), round % 2 ? "Root" : "custom_colors", prefix, "0"});
        int lines = 2 + static_cast<int>(random() % 12);
        for (int i = 0; i < lines; ++i) {
            auto line = writer.readLine(std::chrono::seconds(20));
            ASSERT_TRUE(line) << "the writer stopped early";
            finished.push_back(prefix + *line);
        }
        writer.kill(SIGKILL);
        writer.finish();
        NSDictionary* stored = settings();
        ASSERT_NE(stored, nullptr) << "round " << round << ": the file is not a whole property list";
        for (const auto& key : finished) EXPECT_NE(stored->objectForKey(objc::str(key)), nullptr) << key;
    }
}

}  // namespace
}  // namespace settings_test
