// The product loaded as the phone loads it meets every one of its replacements while the app's screens are shown and drawn, and each reports its decisions.
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
#include <nlohmann/json.hpp>

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kHookCount = 77;

// The product switched on with the options that reach its keyboard and placeholder hooks.
constexpr const char* kSettings =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plist version=\"1.0\"><dict>"
    "<key>enabled</key><true/><key>enableDarkKeyboard</key><true/><key>useDarkPlaceholder</key><true/>"
    "</dict></plist>\n";

// A copy of the staged device with the settings above.
class SettingsDevice : public music_test::SettingsDevice {
public:
    SettingsDevice() : music_test::SettingsDevice("music-coverage", kSettings) {}
};

using Diagnostics = const char* (*)(const char*);

int collectPath(dl_phdr_info* info, std::size_t, void* paths) {
    if (info->dlpi_name && *info->dlpi_name) static_cast<std::vector<std::string>*>(paths)->push_back(info->dlpi_name);
    return 0;
}

// The loader opens tweaks privately, so the diagnostics window is asked of each loaded object.
Diagnostics findDiagnostics() {
    std::vector<std::string> paths;
    dl_iterate_phdr(collectPath, &paths);
    for (const std::string& path : paths)
        if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD))
            if (void* symbol = dlsym(handle, "ObscuroDiagnostics")) return reinterpret_cast<Diagnostics>(symbol);
    return nullptr;
}

nlohmann::json ask(Diagnostics diagnostics, const char* request) {
    const char* reply = diagnostics(request);
    return nlohmann::json::parse(reply ? reply : "null", nullptr, false);
}

std::string describeEntry(const nlohmann::json& entry) {
    return "entry " + entry["entry"].dump() + " (" + entry["class"].get<std::string>() + " " + entry["selector"].get<std::string>() + ")";
}

// The product loaded once for the whole suite: the hooks are installed once per process, so
// the tests share it, as the screens share the app on the phone.
class LoadedProduct : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        device_ = new SettingsDevice;
        device::setRoot(device_->root());
        music::startMusicApp();
        ASSERT_TRUE(music::registerMusicClasses().empty());
        ASSERT_EQ(platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName).loaded(), std::vector<std::string>{"Obscuro"});
        diagnostics_ = findDiagnostics();
    }
    static void TearDownTestSuite() {
        delete device_;
        device_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(diagnostics_, nullptr) << "the loaded library has no diagnostics window"; }

    nlohmann::json ask(const char* request) { return ::ask(diagnostics_, request); }

    // Shows and draws every screen, then puts it away; `drawn` runs inside the screen's pool
    // after drawing, while the screen's objects are still there.
    template <class Drawn>
    void drawEveryScreen(Drawn&& drawn) {
        for (const std::string& screen : music::screens::screenNames()) {
            objc::AutoreleasePool pool;
            objc::Strong<objc_object> window = music::screens::showScreen(screen);
            ASSERT_TRUE(window) << screen;
            render::Picture picture = render::renderView(static_cast<UIView*>(window.get()), 1);
            EXPECT_GT(picture.width, 0) << screen;
            msg<void>(window.get(), sel<"setHidden:">(), true);
            drawn(screen);
        }
    }
    void drawEveryScreen() {
        drawEveryScreen([](const std::string&) {});
    }

    static inline SettingsDevice* device_ = nullptr;
    static inline Diagnostics diagnostics_ = nullptr;
};

TEST_F(LoadedProduct, ShowingAndDrawingEveryScreenRunsEveryReplacement) {
    ask("calls reset");
    drawEveryScreen();

    nlohmann::json calls = ask("calls");
    ASSERT_TRUE(calls.contains("calls")) << calls.dump();
    ASSERT_EQ(calls["calls"].size(), kHookCount);
    for (const nlohmann::json& entry : calls["calls"])
        EXPECT_GT(entry["calls"].get<std::uint64_t>(), 0u) << describeEntry(entry) << " never ran";
}

// Tools explain a screen from the decisions the replacements report: a replacement that runs
// without reporting leaves a value there that nothing explains.
TEST_F(LoadedProduct, EveryReplacementThatRanReportedADecision) {
    ask("calls reset");
    ask("explain all");
    std::set<std::size_t> reported;
    drawEveryScreen([&](const std::string&) {
        for (const nlohmann::json& decision : ask("decisions")) reported.insert(decision["entry"].get<std::size_t>());
    });
    ask("explain off");

    nlohmann::json calls = ask("calls");
    ASSERT_TRUE(calls.contains("calls")) << calls.dump();
    std::string silent;
    for (const nlohmann::json& entry : calls["calls"])
        if (entry["calls"].get<std::uint64_t>() > 0 && !reported.contains(entry["entry"].get<std::size_t>()))
            silent += "\n  " + describeEntry(entry);
    EXPECT_TRUE(silent.empty()) << "ran without reporting a decision:" << silent;
}

// Recording switched off and on again while screens are drawn, with the record taken at some
// screens and left at others: what was recorded stays valid however recording is switched.
TEST_F(LoadedProduct, RecordingSwitchedOffAndOnWhileScreensAreDrawn) {
    std::size_t taken = 0;
    for (int round = 0; round < 3; ++round) {
        int screens = 0;
        drawEveryScreen([&](const std::string&) {
            switch (screens++ % 4) {
            case 0: ask("explain all"); break;
            case 1: ask("explain off"); break;
            case 2: ask("explain on"); break;
            case 3: taken += ask("decisions").size(); break;
            }
        });
        ask("explain off");
        drawEveryScreen();
    }
    ask("explain all");
    drawEveryScreen([&](const std::string&) { taken += ask("decisions").size(); });
    ask("explain off");
    objc::AutoreleasePool pool;
    taken += ask("decisions").size();
    EXPECT_GT(taken, 0u);
}

}  // namespace
