// A few of the Music app's screens drawn stock and with the product loaded, compared with the reference pictures in golden/.
//
// The references are made again by running the test with OBSCURO_UPDATE_GOLDEN=1, which writes
// each drawing over its reference in tests/apps/music/golden/ instead of comparing (look at them
// before committing). A failed comparison writes the drawing and a difference picture into
// $TEST_UNDECLARED_OUTPUTS_DIR when it is set, else into golden-failures/ of the build folder.
#include "settings_device.h"

#include <UIKit/UIView.h>
#include <device/device.h>
#include <music/MusicApp.h>
#include <music/MusicClasses.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <render/Renderer.h>
#include <screens/MusicScreens.h>
#include <substrate/TweakLoader.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A pixel differs when one of its channels is further than this from the reference's, so the
// edge of a glyph hinted a little differently does not count; a picture matches while no more
// than this share of its pixels differ, so a moved pixel or two of text does not fail it.
constexpr int kChannelTolerance = 8;
constexpr double kDifferingShare = 0.005;

// A named drawing: a screen of the app, drawn at scale 1 in its window's size.
struct Drawing {
    std::string name;
    std::string screen;
};

// The product switched on, dark, with its defaults otherwise.
constexpr const char* kSettings =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plist version=\"1.0\"><dict><key>enabled</key><true/></dict></plist>\n";

// Set once the product is loaded: its hooks stay for the life of the process, so a stock
// drawing after that would not be stock.
bool productLoaded = false;

fs::path referencePath(const Drawing& drawing) {
    return fs::path(OBSCURO_SOURCE_DIR) / "tests/apps/music/golden" / (drawing.name + ".png");
}

fs::path failureFolder() {
    if (const char* outputs = std::getenv("TEST_UNDECLARED_OUTPUTS_DIR"); outputs && *outputs) return outputs;
    return fs::path(OBSCURO_BINARY_DIR) / "golden-failures";
}

bool updating() {
    const char* update = std::getenv("OBSCURO_UPDATE_GOLDEN");
    return update && std::string(update) == "1";
}

render::Picture draw(const Drawing& drawing) {
    objc::AutoreleasePool pool;
    objc::Strong<objc_object> window = music::screens::showScreen(drawing.screen);
    if (!window) return {};
    render::Picture picture = render::renderView(static_cast<UIView*>(window.get()), 1);
    msg<void>(window.get(), sel<"setHidden:">(), true);
    return picture;
}

// The reference faded to a quarter, with every differing pixel in opaque red.
render::Picture differencePicture(const render::Picture& reference, const std::vector<bool>& differs) {
    render::Picture difference = reference;
    for (std::size_t pixel = 0; pixel < differs.size(); ++pixel) {
        uint8_t* rgba = &difference.rgba[pixel * 4];
        if (differs[pixel]) {
            rgba[0] = 255, rgba[1] = 0, rgba[2] = 0;
        } else {
            for (int channel = 0; channel < 3; ++channel) rgba[channel] = 191 + rgba[channel] / 4;
        }
        rgba[3] = 255;
    }
    return difference;
}

// Compares the drawing with its reference within the tolerance; on a mismatch writes the
// drawing and the difference picture and names them in the failure.
void expectMatchesReference(const Drawing& drawing, const render::Picture& actual) {
    ASSERT_GT(actual.width, 0) << drawing.name << " drew nothing";
    fs::path reference = referencePath(drawing);
    if (updating()) {
        fs::create_directories(reference.parent_path());
        render::writePNG(actual, reference);
        std::cout << "wrote " << reference.string() << "\n";
        return;
    }

    fs::path folder = failureFolder();
    fs::path actualPath = folder / (drawing.name + ".actual.png");
    auto writeActual = [&] {
        fs::create_directories(folder);
        render::writePNG(actual, actualPath);
    };
    if (!fs::exists(reference)) {
        writeActual();
        FAIL() << "no reference " << reference.string() << "; the drawing is in " << actualPath.string()
               << " (OBSCURO_UPDATE_GOLDEN=1 makes the reference)";
    }

    render::Picture expected = render::readPNG(reference);
    if (expected.width != actual.width || expected.height != actual.height) {
        writeActual();
        FAIL() << drawing.name << " is " << actual.width << "×" << actual.height << ", its reference "
               << expected.width << "×" << expected.height << "; the drawing is in " << actualPath.string();
    }

    std::size_t pixels = std::size_t(actual.width) * std::size_t(actual.height);
    std::vector<bool> differs(pixels, false);
    std::size_t differing = 0;
    for (std::size_t pixel = 0; pixel < pixels; ++pixel) {
        for (int channel = 0; channel < 4; ++channel) {
            int delta = int(actual.rgba[pixel * 4 + channel]) - int(expected.rgba[pixel * 4 + channel]);
            if (std::abs(delta) > kChannelTolerance) differs[pixel] = true;
        }
        differing += differs[pixel];
    }
    if (double(differing) <= kDifferingShare * double(pixels)) return;

    writeActual();
    fs::path differencePath = folder / (drawing.name + ".difference.png");
    render::writePNG(differencePicture(expected, differs), differencePath);
    FAIL() << drawing.name << ": " << differing << " of " << pixels << " pixels differ from "
           << reference.string() << " by more than " << kChannelTolerance << " (at most "
           << std::size_t(kDifferingShare * double(pixels)) << " may)\n  drawing:    " << actualPath.string()
           << "\n  difference: " << differencePath.string();
}

// The app started on the staged device, its classes registered, once per process.
void startStockApp() {
    static bool started = [] {
        device::setRoot(OBSCURO_DEVICE_ROOT);
        music::startMusicApp();
        return music::registerMusicClasses().empty();
    }();
    ASSERT_TRUE(started);
}

void expectStockMatches(const Drawing& drawing) {
    if (productLoaded) GTEST_SKIP() << "the product is loaded in this process; run the stock drawings alone";
    startStockApp();
    expectMatchesReference(drawing, draw(drawing));
}

TEST(StockGolden, Library) { expectStockMatches({"library", "library"}); }
TEST(StockGolden, NowPlaying) { expectStockMatches({"now-playing", "now-playing"}); }
TEST(StockGolden, Search) { expectStockMatches({"search", "search"}); }
TEST(StockGolden, Alert) { expectStockMatches({"alert", "alert"}); }

// A copy of the staged device with the settings above.
class SettingsDevice : public music_test::SettingsDevice {
public:
    SettingsDevice() : music_test::SettingsDevice("music-golden", kSettings) {}
};

// Defined after the stock drawings so that a whole run of this program draws them first.
TEST(DarkGolden, LibraryWithTheProductLoadedMatchesItsReference) {
    SettingsDevice device;
    device::setRoot(device.root());
    music::startMusicApp();
    ASSERT_TRUE(music::registerMusicClasses().empty());
    productLoaded = true;
    ASSERT_EQ(platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName).loaded(), std::vector<std::string>{"Obscuro"});
    const Drawing drawing{"library-dark", "library"};
    expectMatchesReference(drawing, draw(drawing));
}

}  // namespace
