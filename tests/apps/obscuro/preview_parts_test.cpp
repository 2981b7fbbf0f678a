// The pieces of `obscuro preview`: shared private devices, drawn screens over a pipe and their writer thread, replacement counts and the progress line.
#include "preview_coverage.h"
#include "preview_device.h"
#include "preview_frames.h"
#include "preview_progress.h"
#include "preview_writer.h"

#include <UIKit/UIView.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <objc/runtime.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace obscuro::cli {
namespace {

namespace fs = std::filesystem;

ino_t inodeOf(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

std::string textOf(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SharedDevice, ReadOnlyFilesAreLinkedAndTheWritablePartitionIsCopied) {
    fs::path source = fs::temp_directory_path() / ("preview_parts_" + std::to_string(::getpid()));
    fs::create_directories(source / "Library/MobileSubstrate");
    fs::create_directories(source / "var/mobile/Library/Preferences");
    fs::create_directories(source / "var/run/notifyd");
    std::ofstream(source / "Library/MobileSubstrate/Obscuro.plist") << "filter";
    std::ofstream(source / "var/mobile/Library/Preferences/settings.plist") << "stored";
    std::ofstream(source / "var/run/notifyd/registration") << "live";
    fs::create_symlink("MobileSubstrate/Obscuro.plist", source / "Library/link");

    fs::path root;
    {
        SharedDevice device(source);
        root = device.root();
        EXPECT_EQ(inodeOf(root / "Library/MobileSubstrate/Obscuro.plist"), inodeOf(source / "Library/MobileSubstrate/Obscuro.plist"));
        EXPECT_NE(inodeOf(root / "var/mobile/Library/Preferences/settings.plist"), inodeOf(source / "var/mobile/Library/Preferences/settings.plist"));
        EXPECT_TRUE(fs::is_symlink(root / "Library/link"));
        EXPECT_FALSE(fs::exists(root / "var/run/notifyd")) << "another device's live registrations are not taken along";

        std::ofstream(root / "var/mobile/Library/Preferences/settings.plist", std::ios::trunc) << "changed";
        std::ofstream(root / "Library/MobileSubstrate/Obscuro.plist.new") << "replaced";
        fs::rename(root / "Library/MobileSubstrate/Obscuro.plist.new", root / "Library/MobileSubstrate/Obscuro.plist");
    }
    EXPECT_FALSE(fs::exists(root)) << "the private device goes with its object";
    EXPECT_EQ(textOf(source / "var/mobile/Library/Preferences/settings.plist"), "stored");
    EXPECT_EQ(textOf(source / "Library/MobileSubstrate/Obscuro.plist"), "filter") << "a file replaced by renaming leaves the source alone";
    EXPECT_EQ(fs::hard_link_count(source / "Library/MobileSubstrate/Obscuro.plist"), 1u);
    fs::remove_all(source);

    EXPECT_THROW(SharedDevice{source}, std::runtime_error) << "no device there";
}

TEST(SharedDevice, ADeviceHoldingTheTemporaryFolderIsRefusedNotCopiedIntoItself) {
    fs::path source = fs::temp_directory_path() / ("preview_parts_holder_" + std::to_string(::getpid()));
    fs::create_directories(source / "tmp");
    std::ofstream(source / "file") << "kept";
    std::string saved = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", (source / "tmp").c_str(), 1);
    try {
        SharedDevice device(source);
        ADD_FAILURE() << "a device holding its own temporary folder was copied";
    } catch (const std::runtime_error& refused) {
        EXPECT_NE(std::string(refused.what()).find("holds the temporary folder"), std::string::npos) << refused.what();
    }
    if (saved.empty()) ::unsetenv("TMPDIR");
    else ::setenv("TMPDIR", saved.c_str(), 1);
    EXPECT_TRUE(fs::is_empty(source / "tmp")) << "nothing is left behind";
    fs::remove_all(source);
}

struct Pipe {
    int ends[2] = {-1, -1};
    Pipe() { EXPECT_EQ(::pipe(ends), 0); }
    ~Pipe() {
        closeWriter();
        if (ends[0] >= 0) ::close(ends[0]);
    }
    void closeWriter() {
        if (ends[1] >= 0) ::close(ends[1]);
        ends[1] = -1;
    }
};

// A window-sized view filled with one colour, drawn at scale 2.
render::DrawnPixels drawnIn(double red, double green, double blue) {
    objc::AutoreleasePool pool;
    id cls = reinterpret_cast<id>(objc_getClass("UIView"));
    id view = objc::autorelease(msg<id>(msg<id>(cls, sel<"alloc">()), sel<"initWithFrame:">(), CGRect{{0, 0}, {8, 6}}));
    id colour = msg<id>(reinterpret_cast<id>(objc_getClass("UIColor")), sel<"colorWithRed:green:blue:alpha:">(), red, green, blue, 1.0);
    msg<void>(view, sel<"setBackgroundColor:">(), colour);
    return render::drawPixels(static_cast<UIView*>(view), 2);
}

TEST(ScreenWriter, WritesEachScreenAndHandsItBackShrunkInTheOrderGiven) {
    fs::path folder = fs::temp_directory_path() / ("preview_writer_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    Pipe pipe;
    {
        ScreenWriter writer(pipe.ends[1], 2);
        writer.write(folder / "a.png", DrawnScreen{"a", {}, std::vector<HookCalls>{{7, "UILabel", "setTextColor:", 2}}}, drawnIn(1, 0, 0));
        writer.write(folder / "b.png", DrawnScreen{"b", {}, std::nullopt}, drawnIn(0, 0, 1));
        writer.finish();
    }
    pipe.closeWriter();
    std::optional<DrawnScreen> a = receiveDrawnScreen(pipe.ends[0]), b = receiveDrawnScreen(pipe.ends[0]);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->screen, "a");
    EXPECT_EQ(b->screen, "b");
    EXPECT_FALSE(receiveDrawnScreen(pipe.ends[0]));
    ASSERT_TRUE(a->calls && a->calls->size() == 1u);
    EXPECT_EQ((*a->calls)[0].entry, 7);
    EXPECT_EQ(a->thumbnail.width, 8);
    EXPECT_EQ(a->thumbnail.height, 6);
    EXPECT_EQ(a->thumbnail.at(3, 3), (std::array<uint8_t, 4>{255, 0, 0, 255}));
    EXPECT_EQ(b->thumbnail.at(3, 3), (std::array<uint8_t, 4>{0, 0, 255, 255}));
    EXPECT_EQ(render::readPNG(folder / "b.png").at(10, 10), (std::array<uint8_t, 4>{0, 0, 255, 255}));
    EXPECT_EQ(render::readPNG(folder / "a.png").width, 16);
    fs::remove_all(folder);
}

TEST(ScreenWriter, AScreenItCannotWriteIsReportedAndNothingAfterItIsSent) {
    Pipe pipe;
    fs::path nowhere = fs::temp_directory_path() / ("preview_writer_none_" + std::to_string(::getpid())) / "a.png";
    ScreenWriter writer(pipe.ends[1], 1);
    writer.write(nowhere, DrawnScreen{"a", {}, std::nullopt}, drawnIn(1, 1, 1));
    try {
        writer.write(nowhere.parent_path() / "b.png", DrawnScreen{"b", {}, std::nullopt}, drawnIn(1, 1, 1));
        writer.finish();
        ADD_FAILURE() << "an unwritable picture went unreported";
    } catch (const std::runtime_error& fault) {
        EXPECT_NE(std::string(fault.what()).find("cannot write the picture"), std::string::npos) << fault.what();
    }
    EXPECT_THROW(writer.finish(), std::runtime_error) << "the fault stays reported";
    pipe.closeWriter();
    EXPECT_FALSE(receiveDrawnScreen(pipe.ends[0])) << "no screen was handed back";
}

TEST(DrawnScreens, ComeThroughAPipeWhole) {
    Pipe pipe;
    DrawnScreen library;
    library.screen = "library";
    library.thumbnail = {3, 2, std::vector<uint8_t>(3 * 2 * 4, 7)};
    library.calls = std::vector<HookCalls>{{1, "UILabel", "setTextColor:", 5}};
    DrawnScreen stock{"search", {0, 0, {}}, std::nullopt};
    // Larger than a pipe holds, so the writer must wait for the reader.
    DrawnScreen big{"album", {375, 812, std::vector<uint8_t>(375 * 812 * 4, 9)}, std::vector<HookCalls>{}};
    std::thread writer([&] {
        for (const DrawnScreen* drawn : {&library, &stock, &big}) sendDrawnScreen(pipe.ends[1], *drawn);
        pipe.closeWriter();
    });
    std::optional<DrawnScreen> first = receiveDrawnScreen(pipe.ends[0]);
    std::optional<DrawnScreen> second = receiveDrawnScreen(pipe.ends[0]);
    std::optional<DrawnScreen> third = receiveDrawnScreen(pipe.ends[0]);
    std::optional<DrawnScreen> end = receiveDrawnScreen(pipe.ends[0]);
    writer.join();
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->screen, "library");
    EXPECT_EQ(first->thumbnail.rgba, library.thumbnail.rgba);
    ASSERT_TRUE(first->calls);
    ASSERT_EQ(first->calls->size(), 1u);
    EXPECT_EQ((*first->calls)[0].selector, "setTextColor:");
    EXPECT_EQ((*first->calls)[0].calls, 5u);
    EXPECT_FALSE(second->calls) << "no counts stays no counts, apart from zero counts";
    EXPECT_TRUE(third->calls && third->calls->empty());
    EXPECT_EQ(third->thumbnail.rgba, big.thumbnail.rgba);
    EXPECT_FALSE(end) << "the writer's end closed between screens";
}

TEST(DrawnScreens, ACutOrGarbledScreenIsAnErrorAndAPictureShortOfItsSizeIsNotSent) {
    {
        Pipe pipe;
        std::string header = R"({"screen": "library", "width": 10, "height": 10})";
        auto length = static_cast<std::uint32_t>(header.size());
        ASSERT_EQ(::write(pipe.ends[1], &length, 4), 4);
        ASSERT_EQ(::write(pipe.ends[1], header.data(), header.size()), ssize_t(header.size()));
        ASSERT_EQ(::write(pipe.ends[1], "rgba", 4), 4);
        pipe.closeWriter();
        EXPECT_THROW(receiveDrawnScreen(pipe.ends[0]), std::runtime_error) << "pixels end early";
    }
    for (std::string header : {std::string("not json"), std::string(R"({"screen": "x", "width": 100000, "height": 100000})"),
                               std::string(R"({"screen": "x", "width": 0, "height": 0, "calls": [{"entry": 1}]})")}) {
        Pipe pipe;
        auto length = static_cast<std::uint32_t>(header.size());
        ASSERT_EQ(::write(pipe.ends[1], &length, 4), 4);
        ASSERT_EQ(::write(pipe.ends[1], header.data(), header.size()), ssize_t(header.size()));
        pipe.closeWriter();
        EXPECT_THROW(receiveDrawnScreen(pipe.ends[0]), std::runtime_error) << header;
    }
    Pipe pipe;
    DrawnScreen lying{"library", {10, 10, std::vector<uint8_t>(4)}, std::nullopt};
    EXPECT_THROW(sendDrawnScreen(pipe.ends[1], lying), std::runtime_error);
}

TEST(HookCoverage, CountsPerScreenAndVariantAndTheEntriesThatRan) {
    nlohmann::json reply = nlohmann::json::parse(R"({"calls": [
        {"entry": 1, "class": "UILabel", "selector": "setTextColor:", "calls": 4},
        {"entry": 2, "class": "UITableView", "selector": "setSeparatorColor:", "calls": 0},
        {"entry": 3, "class": "UIView", "selector": "setBackgroundColor:", "calls": 0}]})");
    std::vector<HookCalls> library = hookCallsFromReply(reply);
    ASSERT_EQ(library.size(), 3u);
    std::vector<HookCalls> search = library;
    search[0].calls = 0;
    search[2].calls = 9;

    HookCoverage coverage;
    coverage.record("stock", "library", {});
    coverage.record("stock", "search", {});
    coverage.record("dark", "library", library);
    coverage.record("dark", "search", search);
    EXPECT_EQ(coverage.entries(), 3u);
    EXPECT_EQ(coverage.entriesThatRan("dark"), 2u);
    EXPECT_EQ(coverage.entriesThatRan("stock"), 0u);

    nlohmann::ordered_json report = coverage.report();
    EXPECT_EQ(report["of"], 3);
    EXPECT_EQ(report["ran"]["dark"], 2);
    const auto& label = report["entries"][0];
    EXPECT_EQ(label["number"], 1);
    EXPECT_EQ(label["class"], "UILabel");
    EXPECT_EQ(label["calls"]["dark"]["library"], 4);
    EXPECT_EQ(label["calls"]["stock"]["search"], 0) << "stock screens list every entry with nothing counted";
    EXPECT_EQ(report["entries"][2]["total"]["dark"], 9);
    EXPECT_EQ(label["calls"]["dark"].begin().key(), "library") << "screens keep the order they were drawn in";

    EXPECT_THROW(hookCallsFromReply(nlohmann::json::parse(R"({"error": "unknown request"})")), std::runtime_error);
    EXPECT_THROW(hookCallsFromReply(nlohmann::json::parse(R"({"calls": [{"entry": 1, "calls": -1}]})")), std::runtime_error);
}

TEST(PreviewProgress, CountsAScreenOnceEveryVariantDrewItAndStaysQuietOffATerminal) {
    std::FILE* shown = std::tmpfile();
    std::FILE* quiet = std::tmpfile();
    PreviewProgress onTerminal(shown, true, 2, 2), elsewhere(quiet, false, 2, 2);
    for (PreviewProgress* progress : {&onTerminal, &elsewhere}) {
        progress->screenDrawn(0);
        progress->screenDrawn(0);
        progress->screenDrawn(1);
        progress->screenDrawn(1);
        progress->finish();
    }
    auto contents = [](std::FILE* file) {
        std::rewind(file);
        std::string text;
        for (int c; (c = std::fgetc(file)) != EOF;) text += char(c);
        std::fclose(file);
        return text;
    };
    EXPECT_EQ(contents(shown), "\rscreen 0 of 2\rscreen 1 of 2\rscreen 2 of 2\n");
    EXPECT_EQ(contents(quiet), "");
}

}  // namespace
}  // namespace obscuro::cli
