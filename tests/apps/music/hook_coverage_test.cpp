// The product loaded as the phone loads it meets every one of its replacements while the app's screens are shown and drawn.
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
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kHookCount = 77;

// Entries whose callers are UIKit's and not yet in the stand-in: a label's default attributes
// are asked only of a label without a colour of its own, and the stand-in gives every label
// black; a hidden separator is asked nothing more, and the stand-in's separator does not ask
// its own effect and colour when it lays out. Each is expected not to run until UIKit asks;
// once it runs, it must leave this list.
constexpr std::size_t kAwaitingUIKit[] = {21, 36, 37};

bool awaitingUIKit(std::size_t entry) {
    for (std::size_t awaited : kAwaitingUIKit)
        if (awaited == entry) return true;
    return false;
}

// The product switched on with the options that reach its keyboard and placeholder hooks.
constexpr const char* kSettings =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plist version=\"1.0\"><dict>"
    "<key>enabled</key><true/><key>enableDarkKeyboard</key><true/><key>useDarkPlaceholder</key><true/>"
    "</dict></plist>\n";

// A copy of the staged device with the settings above, removed at the end, so that the
// default device's preferences are never written.
class SettingsDevice {
public:
    SettingsDevice() {
        std::string pattern = (fs::temp_directory_path() / "music-coverage-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        fs::copy(OBSCURO_DEVICE_ROOT, root_, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::path preferences = root_ / "var/mobile/Library/Preferences";
        fs::create_directories(preferences);
        std::ofstream(preferences / "com.tarnwick.obscurosettings.plist") << kSettings;
    }
    ~SettingsDevice() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const fs::path& root() const { return root_; }

private:
    fs::path root_;
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

// Every screen shown and drawn in one process with the product loaded: the hooks are installed
// once per process, so the screens share it, as they share the app on the phone.
TEST(HookCoverage, ShowingAndDrawingEveryScreenRunsEveryReplacement) {
    SettingsDevice device;
    device::setRoot(device.root());
    music::startMusicApp();
    ASSERT_TRUE(music::registerMusicClasses().empty());
    ASSERT_EQ(platform::loadTweaks(music::kBundleIdentifier, music::kExecutableName).loaded(), std::vector<std::string>{"Obscuro"});
    Diagnostics diagnostics = findDiagnostics();
    ASSERT_NE(diagnostics, nullptr) << "the loaded library has no diagnostics window";
    ask(diagnostics, "calls reset");

    for (const std::string& screen : music::screens::screenNames()) {
        objc::AutoreleasePool pool;
        objc::Strong<objc_object> window = music::screens::showScreen(screen);
        ASSERT_TRUE(window) << screen;
        render::Picture picture = render::renderView(static_cast<UIView*>(window.get()), 1);
        EXPECT_GT(picture.width, 0) << screen;
        msg<void>(window.get(), sel<"setHidden:">(), true);
    }

    nlohmann::json calls = ask(diagnostics, "calls");
    ASSERT_TRUE(calls.contains("calls")) << calls.dump();
    ASSERT_EQ(calls["calls"].size(), kHookCount);
    for (const nlohmann::json& entry : calls["calls"]) {
        std::string what = "entry " + entry["entry"].dump() + " (" + entry["class"].get<std::string>() + " " +
                           entry["selector"].get<std::string>() + ")";
        if (awaitingUIKit(entry["entry"].get<std::size_t>()))
            EXPECT_EQ(entry["calls"].get<std::uint64_t>(), 0u) << what << " runs now: take it off the awaited list";
        else
            EXPECT_GT(entry["calls"].get<std::uint64_t>(), 0u) << what << " never ran";
    }
}

}  // namespace
