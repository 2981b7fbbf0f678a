// Writers in separate processes: no key lost between two pages writing at once, and a writer killed at any step of a write leaves a whole file.
#include "child_process.h"
#include "settings_device.h"

#include <device/device.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

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
    // Temporaries of writes that never renamed theirs into place.
    int temporariesBesideTheFile() const {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(root_ / "var/mobile/Library/Preferences"))
            count += entry.path().filename().string().starts_with(".");
        return count;
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

// Each writer stops at one step of a write, says so, and is killed there: with its temporary just
// made, half written, or whole and about to replace the file. Whatever the step, the file stays a
// whole property list with every key written before, without the key being written, and the
// temporary is left beside it.
TEST_F(ConcurrentWriters, AWriterKilledMidWriteLeavesAWholeFileWithEveryFinishedKey) {
    std::vector<std::string> finished;
    int round = 0;
    for (const char* step : {"temporary", "half", "rename"}) {
        for (const char* page : {"Root", "custom_colors"}) {
            std::string prefix = "round" + std::to_string(round) + "_";
            int before = 1 + round % 3;
            ChildProcess writer(OBSCURO_SETTINGS_WRITER, {root_.string(), page, prefix, std::to_string(before), step});
            for (int i = 0; i < before; ++i) {
                auto line = writer.readLine(std::chrono::seconds(20));
                ASSERT_TRUE(line) << "round " << round << ": the writer stopped early";
                finished.push_back(prefix + *line);
            }
            auto paused = writer.readLine(std::chrono::seconds(20));
            ASSERT_EQ(paused, std::optional<std::string>(std::string("paused ") + step)) << "round " << round;
            writer.kill(SIGKILL);
            writer.finish();

            NSDictionary* stored = settings();
            ASSERT_NE(stored, nullptr) << "round " << round << " (" << step << "): the file is not a whole property list";
            for (const auto& key : finished) EXPECT_NE(stored->objectForKey(objc::str(key)), nullptr) << "round " << round << ": " << key;
            EXPECT_EQ(stored->objectForKey(objc::str(prefix + std::to_string(before))), nullptr)
                << "round " << round << " (" << step << "): the interrupted key is in the file";
            ++round;
            EXPECT_EQ(temporariesBesideTheFile(), round) << "round " << round - 1 << " (" << step << ")";
        }
    }
}

}  // namespace
}  // namespace settings_test
