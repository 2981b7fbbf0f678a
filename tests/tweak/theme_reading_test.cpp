// Colours replaced while a named image is decided on another thread stay alive until no decision can still hold them.
#include "GlyphImageCache.h"
#include "Preferences.h"
#include "tweak_fixture.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIKit.h>
#include <device/device.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

namespace obscuro::testing {
namespace {

namespace fs = std::filesystem;

class ThemeReadingTest : public ThemeTest {};

TEST_F(ThemeReadingTest, AColourReplacedDuringAReadingIsReleasedWhenTheLastReadingEnds) {
    objc::Strong<objc_object> first = objc::retain(colour(1, 0, 0));
    const long held = objc_retainCount(first.get());
    replaceMember(tintColor, first.get());
    EXPECT_EQ(objc_retainCount(first.get()), held + 1);
    {
        ThemeReading outer;
        EXPECT_EQ(outer.colour(tintColor), first.get());
        {
            ThemeReading inner;
            replaceMember(tintColor, colour(0, 1, 0));
        }
        EXPECT_EQ(objc_retainCount(first.get()), held + 1) << "released while a reading could still hold it";
        EXPECT_EQ(hexOf(outer.colour(tintColor)), "#00FF00");
    }
    EXPECT_EQ(objc_retainCount(first.get()), held) << "kept after the last reading ended";

    replaceMember(tintColor, first.get());
    replaceMember(tintColor, nullptr);
    EXPECT_EQ(objc_retainCount(first.get()), held) << "without a reading, a replaced colour goes at once";
}

// Named images decided on worker threads through the installed hook while the main thread
// reloads the settings: every reload replaces all five colours, which the workers read.
class NamedImagesDuringReloadsTest : public ThemeTest {
protected:
    void SetUp() override {
        ThemeTest::SetUp();
        createGlyphImageCache();
        root_ = fs::temp_directory_path() / ("obscuro-reading-" + std::to_string(::getpid()));
        fs::create_directories(root_ / "var/mobile/Library/Preferences");
        previousRoot_ = device::root();
        device::setRoot(root_);
        id yes = msg<id>(objc_getClass("NSNumber"), sel<"numberWithBool:">(), true);
        id settings = objc::dict({{NSSTR("enabled"), yes}, {NSSTR("useCustomColors"), yes}, {NSSTR("tintColor"), NSSTR("#00FF00")}});
        ASSERT_TRUE(msg<BOOL>(settings, sel<"writeToFile:atomically:">(),
                              NSSTR("/var/mobile/Library/Preferences/com.tarnwick.obscurosettings.plist"), true));
        UIGraphicsBeginImageContextWithOptions(CGSizeMake(8, 8), false, 1.0);
        glyph_ = objc::retain(UIGraphicsGetImageFromCurrentImageContext());
        UIGraphicsEndImageContext();
        platform::setNamedImageProvider([glyph = glyph_.get()](const std::string&, id) { return glyph; });
    }
    void TearDown() override {
        platform::setNamedImageProvider(nullptr);
        device::setRoot(previousRoot_);
        fs::remove_all(root_);
        ThemeTest::TearDown();
    }

    fs::path root_, previousRoot_;
    objc::Strong<objc_object> glyph_;
};

TEST_F(NamedImagesDuringReloadsTest, WorkersNeverUseAReleasedColour) {
    constexpr int kWorkers = 3;
    constexpr int kReloads = 300;
    std::atomic<bool> reloading{true};
    std::atomic<int> requests{0}, tinted{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back([&, w] {
            const char* names[] = {"Threaded-Glyph", "PlaylistAddIcon-Threaded"};
            while (reloading.load()) {
                objc::AutoreleasePool pool;
                id image = msg<id>(objc_getClass("UIImage"), sel<"imageNamed:inBundle:compatibleWithTraitCollection:">(),
                                   objc::str(names[w % 2]), id{nullptr}, id{nullptr});
                requests.fetch_add(1);
                if (image && image != glyph_.get()) tinted.fetch_add(1);
            }
        });
    for (int i = 0; i < kReloads; ++i) {
        objc::AutoreleasePool pool;
        loadPreferences(nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    reloading.store(false);
    for (auto& worker : workers) worker.join();
    EXPECT_GT(requests.load(), 0);
    EXPECT_EQ(tinted.load(), requests.load()) << "every request was tinted or composed, none passed through";
    EXPECT_EQ(hexOf(tintColor), "#00FF00");
}

}  // namespace
}  // namespace obscuro::testing
