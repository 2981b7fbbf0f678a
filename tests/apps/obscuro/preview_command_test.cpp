// `obscuro preview` end to end on the staged default device: files written, themed pixels, stable bytes, settings files, the device untouched, hook coverage.
#include "cli_process.h"

#include <render/Renderer.h>

#include <nlohmann/json.hpp>
#include <plist/plist.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out;
};

CliRun obscuro(const std::string& arguments) {
    std::string command = std::string(OBSCURO_CLI) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    CliRun run{-1, {}};
    if (!pipe) return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every entry of a device folder: its kind, mode, size, modification time and bytes.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        std::string state = std::to_string(info.st_mode) + " " + std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "." +
                            std::to_string(info.st_mtim.tv_nsec);
        if (entry.is_regular_file() && !entry.is_symlink()) state += " " + bytesOf(entry.path());
        entries[entry.path().lexically_relative(root).string()] = std::move(state);
    }
    return entries;
}

bool isWhite(std::array<uint8_t, 4> p) { return p[0] > 250 && p[1] > 250 && p[2] > 250; }
bool isPink(std::array<uint8_t, 4> p) { return p[0] > 200 && p[1] < 140 && p[2] > 40 && p[2] < 170; }
bool isLight(std::array<uint8_t, 4> p) { return p[0] > 200 && p[1] > 200 && p[2] > 200; }

// Counts pixels of the Library's first row label ("Playlists", rows from y = 140 pt) at scale 1.
template <class Test>
int countInFirstRow(const render::Picture& picture, Test test) {
    int n = 0;
    for (int y = 142; y < 182; ++y)
        for (int x = 16; x < 120; ++x) n += test(picture.at(x, y));
    return n;
}

class PreviewCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("preview_test_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    CliRun preview(const std::string& extra, const fs::path& out) {
        return obscuro("preview --screen library --scale 1 -o " + out.string() + " " + extra);
    }

    fs::path dir_;
};

TEST_F(PreviewCommandTest, DefaultThemeDarkensTheWhiteBackgroundAndRedrawsTheRowLabelInTheTextColour) {
    CliRun run = preview("", dir_);
    ASSERT_EQ(run.status, 0);
    for (const char* name : {"library-stock.png", "library-dark.png", "contact-sheet.png"})
        EXPECT_NE(run.out.find((dir_ / name).string()), std::string::npos) << name << " is reported";

    render::Picture stock = render::readPNG(dir_ / "library-stock.png");
    render::Picture dark = render::readPNG(dir_ / "library-dark.png");
    ASSERT_EQ(stock.width, 375);
    ASSERT_EQ(stock.height, 812);
    EXPECT_TRUE(isWhite(stock.at(10, 700)));
    auto background = dark.at(10, 700);
    EXPECT_LT(background[0] + background[1] + background[2], 3 * 80) << "the themed background is dark where the stock one was white";

    EXPECT_GT(countInFirstRow(stock, isPink), 20) << "stock row labels are the app's pink";
    EXPECT_EQ(countInFirstRow(dark, isPink), 0);
    EXPECT_GT(countInFirstRow(dark, isLight), 20) << "themed row labels are drawn in the light text colour";

    render::Picture sheet = render::readPNG(dir_ / "contact-sheet.png");
    EXPECT_GT(sheet.height, 2 * 812);
}

TEST_F(PreviewCommandTest, SameInputGivesTheSamePngBytes) {
    ASSERT_EQ(preview("--theme midnight", dir_ / "a").status, 0);
    ASSERT_EQ(preview("--theme midnight", dir_ / "b").status, 0);
    EXPECT_EQ(bytesOf(dir_ / "a" / "library-dark.png"), bytesOf(dir_ / "b" / "library-dark.png"));
    EXPECT_EQ(bytesOf(dir_ / "a" / "library-stock.png"), bytesOf(dir_ / "b" / "library-stock.png"));
}

TEST_F(PreviewCommandTest, BinarySettingsPlistIsAcceptedAndSwitchedOffSettingsLeaveTheBackgroundWhite) {
    auto writeBinary = [&](const fs::path& path, bool enabled) {
        plist_t dict = plist_new_dict();
        plist_dict_set_item(dict, "enabled", plist_new_bool(enabled));
        plist_dict_set_item(dict, "theme", plist_new_string("midnight"));
        char* bytes = nullptr;
        uint32_t length = 0;
        plist_to_bin(dict, &bytes, &length);
        std::ofstream(path, std::ios::binary).write(bytes, length);
        plist_to_bin_free(bytes);
        plist_free(dict);
    };
    writeBinary(dir_ / "on.plist", true);
    writeBinary(dir_ / "off.plist", false);
    ASSERT_EQ(preview("--settings " + (dir_ / "on.plist").string(), dir_ / "on").status, 0);
    ASSERT_EQ(preview("--settings " + (dir_ / "off.plist").string(), dir_ / "off").status, 0);
    EXPECT_FALSE(isWhite(render::readPNG(dir_ / "on" / "library-dark.png").at(10, 700)));
    EXPECT_TRUE(isWhite(render::readPNG(dir_ / "off" / "library-dark.png").at(10, 700))) << "switched off, the product leaves white alone";
}

TEST_F(PreviewCommandTest, BadArgumentsAreUsageErrorsAndWriteNothing) {
    std::ofstream(dir_ / "junk.plist") << "not a property list";
    EXPECT_EQ(preview("--settings " + (dir_ / "junk.plist").string(), dir_ / "x").status, 2);
    EXPECT_EQ(preview("--settings " + (dir_ / "missing.plist").string(), dir_ / "x").status, 2);
    EXPECT_EQ(obscuro("preview --screen nowhere -o " + (dir_ / "x").string()).status, 2);
    EXPECT_EQ(obscuro("preview --scale 0 -o " + (dir_ / "x").string()).status, 2);
    EXPECT_FALSE(fs::exists(dir_ / "x" / "library-stock.png"));
}

TEST_F(PreviewCommandTest, TheDeviceIsUnchangedAfterAPreview) {
    const fs::path device = OBSCURO_DEVICE_ROOT;
    std::map<std::string, std::string> before = snapshot(device);
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(preview("--theme midnight", dir_).status, 0);
    std::map<std::string, std::string> after = snapshot(device);
    EXPECT_EQ(after.size(), before.size()) << "no file added or removed, the settings file the dark variant ran with included";
    for (const auto& [path, state] : before) EXPECT_TRUE(after[path] == state) << path << " changed";
}

TEST_F(PreviewCommandTest, TheContactSheetIsComposedFromTheScreensDrawn) {
    ASSERT_EQ(obscuro("preview --screen library --scale 2 -o " + dir_.string()).status, 0);
    render::Picture stock = render::readPNG(dir_ / "library-stock.png");
    render::Picture dark = render::readPNG(dir_ / "library-dark.png");
    ASSERT_EQ(stock.width, 750);
    render::Picture expected = render::contactSheet({{&stock}, {&dark}}, 24, 2);
    render::Picture sheet = render::readPNG(dir_ / "contact-sheet.png");
    EXPECT_EQ(sheet.width, expected.width);
    EXPECT_EQ(sheet.height, expected.height);
    EXPECT_TRUE(sheet.rgba == expected.rgba) << "the same sheet as one made from the written files, each shrunk to one pixel per point";
}

TEST_F(PreviewCommandTest, ReportsHowOftenEachReplacementRanPerScreenAndVariant) {
    fs::path reportPath = dir_ / "coverage.json";
    cli_test::Result run = cli_test::obscuro({"preview", "--screen", "library", "--scale", "1", "-o", dir_.string(), "--report", reportPath.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("screen "), std::string::npos) << "no progress when standard error is not a terminal";
    std::smatch summary;
    ASSERT_TRUE(std::regex_search(run.out, summary, std::regex("(^|\\n)([0-9]+) of 77 replacements ran\\n"))) << run.out;
    int ran = std::stoi(summary[2]);
    EXPECT_GT(ran, 10) << "the library screen sets text, bar and background colours";
    EXPECT_NE(run.out.find(reportPath.string()), std::string::npos);

    nlohmann::json report = nlohmann::json::parse(bytesOf(reportPath));
    ASSERT_EQ(report["entries"].size(), 77u);
    EXPECT_EQ(report["of"], 77);
    EXPECT_EQ(report["ran"]["dark"], ran);
    EXPECT_EQ(report["ran"]["stock"], 0) << "without the product nothing is replaced";
    int counted = 0, number = 0;
    for (const auto& entry : report["entries"]) {
        EXPECT_EQ(entry["number"], ++number);
        EXPECT_TRUE(entry["class"].is_string() && entry["selector"].is_string());
        EXPECT_EQ(entry["calls"]["stock"]["library"], 0);
        counted += entry["calls"]["dark"]["library"].get<int>() > 0;
    }
    EXPECT_EQ(counted, ran);
    const auto& background = *std::find_if(report["entries"].begin(), report["entries"].end(), [](const nlohmann::json& entry) {
        return entry["class"] == "UIView" && entry["selector"] == "setBackgroundColor:";
    });
    EXPECT_GT(background["calls"]["dark"]["library"].get<int>(), 0);
}

}  // namespace
