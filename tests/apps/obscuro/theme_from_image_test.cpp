// Themes from artwork: the proposal meets the readability rules, and `--write` keeps every other theme.
#include "theme_proposal.h"

#include <render/Renderer.h>

#include <plist/plist.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using obscuro::cli::Rgb;
using obscuro::cli::Swatch;

TEST(ThemeProposal, MeetsTextAndTintContrastForBrightDarkGreyAndEmptyPalettes) {
    const std::vector<std::vector<Swatch>> palettes = {
        {{{1, 1, 1}, 0.7}, {{1, 0.8, 0}, 0.3}},            // white cover with yellow
        {{{0.05, 0.05, 0.4}, 0.6}, {{0.1, 0.1, 0.9}, 0.4}},  // dark blue, the tint as dark as the background
        {{{0.5, 0.5, 0.5}, 1.0}},                            // grey only: the shipped pink
        {{{0, 0, 0}, 1.0}},                                  // black
        {},
    };
    for (std::size_t i = 0; i < palettes.size(); ++i) {
        auto theme = obscuro::cli::proposeTheme(palettes[i]);
        SCOPED_TRACE("palette " + std::to_string(i));
        EXPECT_GE(obscuro::cli::contrastRatio(theme.text, theme.background), obscuro::cli::kTextContrast);
        EXPECT_GE(obscuro::cli::contrastRatio(theme.tint, theme.background), obscuro::cli::kTintContrast);
        EXPECT_GE(obscuro::cli::contrastRatio(theme.text, theme.bar), obscuro::cli::kTextContrast);
        EXPECT_LT(obscuro::cli::contrastRatio(theme.background, {0, 0, 0}), 1.5) << "the background is dark";
    }
    auto yellow = obscuro::cli::proposeTheme(palettes[0]);
    EXPECT_GT(yellow.tint.r, yellow.tint.b) << "the tint comes from the most saturated colour";
    EXPECT_EQ(obscuro::cli::hexString({1, 0, 0.5}), "#FF0080");
}

std::string run(const std::string& arguments) {
    std::string command = std::string(OBSCURO_CLI) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    out += "\nstatus " + std::to_string(WEXITSTATUS(pclose(pipe)));
    return out;
}

TEST(ThemeFromImageCommand, WriteAddsTheThemeAndKeepsEveryOtherOne) {
    fs::path dir = fs::temp_directory_path() / ("theme_test_" + std::to_string(::getpid()));
    fs::path themeFile = dir / "Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle/themes.plist";
    fs::create_directories(themeFile.parent_path());
    std::ofstream(themeFile) << R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>midnight</key><dict><key>backgroundColor</key><string>#0B0E14</string></dict>
<key>oled</key><dict><key>backgroundColor</key><string>#000000</string></dict>
</dict></plist>)";
    render::Picture art{8, 8, std::vector<uint8_t>(8 * 8 * 4, 255)};
    for (std::size_t i = 0; i < art.rgba.size(); i += 4) art.rgba[i + 2] = 0;  // yellow
    render::writePNG(art, dir / "cover.png");

    std::string out = run("theme from-image " + (dir / "cover.png").string() + " --name sunny --write --root " + dir.string());
    EXPECT_NE(out.find("status 0"), std::string::npos) << out;
    EXPECT_NE(out.find("\"sunny\""), std::string::npos);

    std::ifstream in(themeFile, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    plist_t themes = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &themes);
    ASSERT_NE(themes, nullptr);
    EXPECT_EQ(plist_dict_get_size(themes), 3u);
    for (const char* name : {"midnight", "oled", "sunny"}) EXPECT_NE(plist_dict_get_item(themes, name), nullptr) << name;
    plist_free(themes);

    EXPECT_NE(run("theme from-image " + (dir / "missing.png").string()).find("status 2"), std::string::npos);
    EXPECT_NE(run("theme from-image " + themeFile.string()).find("status 2"), std::string::npos) << "not a PNG";
    fs::remove_all(dir);
}

// The write goes through the device's atomic write (its failing steps are tested with the
// settings writes); here, a theme file that cannot be replaced is reported and left alone.
TEST(ThemeFromImageCommand, AWriteThatFailsIsReportedAndLeavesNothingBehind) {
    fs::path dir = fs::temp_directory_path() / ("theme_fail_test_" + std::to_string(::getpid()));
    fs::path themeFile = dir / "Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle/themes.plist";
    fs::create_directories(themeFile / "in-the-way");  // a folder where the file should be
    render::Picture art{8, 8, std::vector<uint8_t>(8 * 8 * 4, 255)};
    render::writePNG(art, dir / "cover.png");

    std::string out = run("theme from-image " + (dir / "cover.png").string() + " --name sunny --write --root " + dir.string());
    EXPECT_NE(out.find("status 1"), std::string::npos) << out;
    EXPECT_EQ(out.find("\"sunny\""), std::string::npos) << "nothing is printed as written";
    EXPECT_TRUE(fs::is_directory(themeFile / "in-the-way"));
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(themeFile.parent_path())) left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"themes.plist"}) << "no temporary is left behind";
    fs::remove_all(dir);
}

}  // namespace
