// `obscuro image`: each operation on PNG files made here, the JSON it prints, and bad input refused with status 2 and no file.
#include <CoreGraphics/CGBitmapContext.h>
#include <CoreGraphics/CGDataProvider.h>
#include <CoreGraphics/CGImagePNG.h>

#include "cli_process.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using Pixel = std::array<std::uint8_t, 4>;  // premultiplied R, G, B, A
using Rows = std::vector<std::vector<Pixel>>;

constexpr Pixel kClear{0, 0, 0, 0}, kBlack{0, 0, 0, 255}, kWhite{255, 255, 255, 255};

// A folder of its own for each test, removed afterwards.
class ImageCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("obscuro-image-" + std::to_string(::getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    cli_test::Result run(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), "image");
        return cli_test::obscuro(arguments);
    }

    // Writes rows of pixels as a PNG file named `name`; with alpha false the PNG is RGB.
    std::string png(const std::string& name, const Rows& rows, bool alpha = true) const {
        std::size_t width = rows[0].size(), height = rows.size();
        std::vector<std::uint8_t> bytes;
        for (const auto& row : rows)
            for (const Pixel& p : row) bytes.insert(bytes.end(), p.begin(), p.end());
        CGDataProviderRef provider = CGDataProviderCreateWithCopyOfData(bytes.data(), bytes.size());
        CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
        CGBitmapInfo info = (alpha ? kCGImageAlphaPremultipliedLast : kCGImageAlphaNoneSkipLast) | kCGBitmapByteOrder32Big;
        CGImageRef image = CGImageCreate(width, height, 8, 32, width * 4, rgb, info, provider, nullptr, false, kCGRenderingIntentDefault);
        std::vector<std::uint8_t> encoded = CGImageCopyPNGData(image);
        CGImageRelease(image);
        CGColorSpaceRelease(rgb);
        CGDataProviderRelease(provider);
        std::ofstream(path(name), std::ios::binary).write(reinterpret_cast<const char*>(encoded.data()), std::streamsize(encoded.size()));
        return path(name);
    }

    std::string uniform(const std::string& name, std::size_t width, std::size_t height, Pixel pixel, bool alpha = true) const {
        return png(name, Rows(height, std::vector<Pixel>(width, pixel)), alpha);
    }

    struct Picture {
        std::size_t width = 0, height = 0;
        std::vector<std::uint8_t> bytes;
        Pixel at(std::size_t x, std::size_t y) const {
            const std::uint8_t* p = &bytes.at((y * width + x) * 4);
            return {p[0], p[1], p[2], p[3]};
        }
    };

    Picture read(const std::string& file) const {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        CGImageRef image = CGImageCreateWithPNGData(bytes.data(), bytes.size());
        EXPECT_NE(image, nullptr) << file;
        Picture picture{CGImageGetWidth(image), CGImageGetHeight(image), {}};
        picture.bytes.resize(picture.width * picture.height * 4);
        CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
        CGContextRef context = CGBitmapContextCreate(picture.bytes.data(), picture.width, picture.height, 8, picture.width * 4,
                                                     rgb, kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
        CGContextSetBlendMode(context, kCGBlendModeCopy);
        CGContextDrawImage(context, CGRectMake(0, 0, double(picture.width), double(picture.height)), image);
        CGContextRelease(context);
        CGColorSpaceRelease(rgb);
        CGImageRelease(image);
        return picture;
    }

    // The files in the test's folder, to show that a refused operation left no output or temporary file.
    std::size_t filesIn() const { return std::size_t(std::distance(fs::directory_iterator(folder_), fs::directory_iterator())); }

    fs::path folder_;
};

json imageJson(double w, double h, double scale, int pw, int ph) {
    return json{{"size", {w, h}}, {"scale", scale}, {"pixels", {pw, ph}}};
}

void expectNear(Pixel actual, Pixel expected, int tolerance = 1) {
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual[c], expected[c], tolerance) << "channel " << c;
}

TEST_F(ImageCommandTest, TintPaintsTheGlyphAndPrintsTheImage) {
    const Pixel half{0, 0, 0, 128};
    auto glyph = png("glyph.png", {{kBlack, kBlack}, {half, half}, {kClear, kClear}});
    auto r = run({"tint", glyph, "#FF0000", path("out.png"), "--screen-scale", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.parsed(), imageJson(2, 3, 1, 2, 3));
    auto out = read(path("out.png"));
    expectNear(out.at(0, 0), {255, 0, 0, 255}, 0);
    expectNear(out.at(1, 1), {128, 0, 0, 192}, 1);
    expectNear(out.at(1, 2), kClear, 0);
    // At the default screen scale of 3, and for an input of scale 2: 1.5 points need 4.5 pixels,
    // the context rounds up to 5, and the image is as tall as its pixels.
    r = run({"tint", glyph, "rgba(0,0,1,1)", path("out.png"), "--scale", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.parsed(), imageJson(1, 5.0 / 3, 3, 3, 5));
}

TEST_F(ImageCommandTest, RoundCutsCornersOfRadiusSquared) {
    auto square = uniform("square.png", 32, 32, {40, 80, 120, 255});
    auto r = run({"round", square, "2", path("round.png"), "--screen-scale", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.parsed(), imageJson(32, 32, 2, 64, 64));
    auto out = read(path("round.png"));
    EXPECT_EQ(out.at(0, 0)[3], 0);
    EXPECT_LT(out.at(1, 2)[3], 40);  // (0.75, 1.25) points: outside a 4-point corner
    expectNear(out.at(5, 5), {40, 80, 120, 255}, 0);
    EXPECT_EQ(read(path("round.png")).width, 64u);
}

TEST_F(ImageCommandTest, SolidAndThumbnailFillAtTheirScales) {
    auto r = run({"solid", "#336699", "32", "32", path("solid.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.parsed(), imageJson(32, 32, 3, 96, 96));
    auto solid = read(path("solid.png"));
    for (std::size_t i = 0; i < solid.bytes.size(); i += 4) ASSERT_EQ(solid.at(i / 4 % 96, i / 4 / 96), (Pixel{0x33, 0x66, 0x99, 255}));
    r = run({"thumbnail", "white(1,0.5)", "3", "2", path("thumb.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.parsed(), imageJson(3, 2, 1, 3, 2));
    expectNear(read(path("thumb.png")).at(2, 1), {128, 128, 128, 128}, 1);
}

TEST_F(ImageCommandTest, ScaleStretchesInPointsAndVScaleTruncatesPixels) {
    auto pair = png("pair.png", {{kWhite, kBlack}});
    auto r = run({"scale", pair, "4", "1", path("wide.png"), "--screen-scale", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.parsed(), imageJson(4, 1, 2, 8, 2));
    auto wide = read(path("wide.png"));
    expectNear(wide.at(0, 0), kWhite, 0);
    expectNear(wide.at(7, 1), kBlack, 0);

    auto big = uniform("big.png", 100, 100, {200, 100, 50, 255});
    r = run({"vscale", big, "50.9", "50.9", path("half.png"), "--scale", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.parsed(), imageJson(50, 50, 1, 50, 50));
    expectNear(read(path("half.png")).at(10, 10), {200, 100, 50, 255}, 1);
}

TEST_F(ImageCommandTest, VScaleRefusalIsTheScalersExceptionAndNoFile) {
    auto big = uniform("big.png", 10, 10, kWhite);
    std::size_t before = filesIn();
    auto r = run({"vscale", big, "0.5", "10", path("none.png")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("HighQualityImageScalingFailureException: vImageScale returned error code -21773"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(path("none.png")));
    EXPECT_EQ(filesIn(), before);
}

TEST_F(ImageCommandTest, BrightnessAndRemoveWhite) {
    auto source = png("source.png", {{{200, 100, 50, 255}, {0, 0, 0, 128}}});
    auto r = run({"brightness", source, "0", path("dark.png"), "--scale", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.parsed(), imageJson(1, 0.5, 2, 2, 1));
    auto dark = read(path("dark.png"));
    expectNear(dark.at(0, 0), kBlack, 0);
    EXPECT_EQ(dark.at(1, 0)[3], 128);

    auto opaque = png("opaque.png", {{{230, 240, 250, 255}, {221, 255, 255, 255}}}, false);
    r = run({"remove-white", opaque, path("masked.png"), "--screen-scale", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto masked = read(path("masked.png"));
    expectNear(masked.at(0, 0), kClear, 0);
    expectNear(masked.at(1, 0), {221, 255, 255, 255}, 0);
    ASSERT_EQ(run({"remove-white", source, path("refused.png"), "--screen-scale", "1"}).status, 0);
    EXPECT_EQ(read(path("refused.png")).at(0, 0), kClear);
}

TEST_F(ImageCommandTest, AveragesAndLuminosity) {
    auto translucent = uniform("red.png", 4, 4, {128, 0, 0, 128});
    auto r = run({"average-for", translucent});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NEAR(r.parsed()["rgba"][0].get<double>(), 128.0 * 128.0 / 65025.0, 1e-12);
    EXPECT_NEAR(r.parsed()["rgba"][3].get<double>(), 128.0 / 255.0, 1e-12);
    EXPECT_EQ(r.parsed()["space"], "rgb");
    EXPECT_EQ(run({"average", uniform("white.png", 3, 3, kWhite)}).parsed(),
              (json{{"hex", "#FFFFFF"}, {"rgba", {1.0, 1.0, 1.0, 1.0}}, {"space", "rgb"}}));
    EXPECT_NEAR(run({"luminosity", uniform("green.png", 2, 2, {0, 255, 0, 255})}).parsed()["luminosity"].get<double>(), 0.587, 1e-9);
}

TEST_F(ImageCommandTest, MainColoursListsSharesLargestFirst) {
    auto halves = png("halves.png", Rows(4, std::vector<Pixel>{kWhite, kWhite, kBlack, kBlack}));
    auto r = run({"main-colours", halves, "--detail", "0"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto list = r.parsed();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]["color"]["hex"], "#000000");
    EXPECT_EQ(list[0]["share"].get<double>(), double(64.0f / 72.0f));
    EXPECT_EQ(list[1]["color"]["hex"], "#FEFEFE");
    EXPECT_EQ(list[1]["share"].get<double>(), double(8.0f / 72.0f));
    auto black = run({"main-colours", uniform("black.png", 20, 20, kBlack), "--detail=2"});
    ASSERT_EQ(black.status, 0) << black.err;
    EXPECT_EQ(black.parsed(), (json::array({{{"color", {{"hex", "#000000"}, {"rgba", {0.0, 0.0, 0.0, 1.0}}, {"space", "rgb"}}}, {"share", 1.0}}})));
}

TEST_F(ImageCommandTest, TestsAndInfo) {
    auto white = uniform("white.png", 2, 2, kWhite);
    auto clearCorner = png("corner.png", {{kWhite, kClear}, {kWhite, kWhite}});
    auto opaque = uniform("opaque.png", 2, 2, kWhite, false);
    EXPECT_EQ(run({"is-light", white}).parsed(), (json{{"light", true}}));
    auto r = run({"is-light", clearCorner});
    EXPECT_EQ(r.parsed(), (json{{"light", false}}));
    EXPECT_NE(r.err.find("HEX:#00000000"), std::string::npos) << r.err;  // one log line per pixel visited
    EXPECT_EQ(run({"is-all-white", white}).parsed(), (json{{"allWhite", true}}));
    EXPECT_EQ(run({"is-all-white", clearCorner}).parsed(), (json{{"allWhite", false}}));
    EXPECT_EQ(run({"has-alpha", white}).parsed(), (json{{"hasAlpha", true}}));
    EXPECT_EQ(run({"has-alpha", opaque}).parsed(), (json{{"hasAlpha", false}}));
    EXPECT_EQ(run({"same", white, white}).parsed(), (json{{"same", true}}));
    EXPECT_EQ(run({"same", white, clearCorner}).parsed(), (json{{"same", false}}));
    EXPECT_EQ(run({"info", white, "--scale", "2"}).parsed(), imageJson(1, 1, 2, 2, 2));
}

TEST_F(ImageCommandTest, BadInputExitsWithStatusTwoAndWritesNothing) {
    auto white = uniform("white.png", 2, 2, kWhite);
    std::ofstream(path("text.png")) << "not a picture";
    auto good = read(white);
    std::vector<std::uint8_t> encoded;
    {
        std::ifstream in(white, std::ios::binary);
        encoded.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::ofstream(path("cut.png"), std::ios::binary).write(reinterpret_cast<const char*>(encoded.data()), 30);
    std::ofstream(path("kept.png")) << "old contents";
    std::size_t before = filesIn();

    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"tint", path("missing.png"), "#FF0000", path("kept.png")}, "no such file"},
        {{"tint", path("text.png"), "#FF0000", path("kept.png")}, "not a PNG"},
        {{"tint", path("cut.png"), "#FF0000", path("kept.png")}, "damaged"},
        {{"tint", folder_.string(), "#FF0000", path("kept.png")}, "folder"},
        {{"tint", white, "red", path("kept.png")}, "not a colour"},
        {{"round", white, "x", path("kept.png")}, "RADIUS"},
        {{"solid", "#FFFFFF", "0", "4", path("kept.png")}, "W must"},
        {{"solid", "#FFFFFF", "4", "100000", path("kept.png")}, "H must"},
        {{"brightness", white, "nan", path("kept.png")}, "FACTOR"},
        {{"tint", white, "#FF0000"}, "takes 3 arguments"},
        {{"paint", white}, "unknown operation"},
        {{}, "missing operation"},
        {{"info", white, "--scale", "0"}, "--scale"},
        {{"info", white, "--detail", "2"}, "main-colours only"},
        {{"main-colours", white, "--detail", "fine"}, "whole number"},
        {{"info", white, "--colour"}, "needs a value"},
        {{"tint", white, "#FF0000", path("no/such/folder/out.png")}, "cannot write"},
    };
    for (const auto& [arguments, message] : cases) {
        auto r = run(arguments);
        EXPECT_EQ(r.status, 2) << testing::PrintToString(arguments);
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    std::ifstream kept(path("kept.png"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), std::istreambuf_iterator<char>()), "old contents");
    EXPECT_EQ(filesIn(), before);  // no output or temporary file
    EXPECT_EQ(good.width, 2u);
}

TEST_F(ImageCommandTest, AnOutputReplacesAnExistingFileWhole) {
    std::ofstream(path("out.png")) << "old contents";
    auto r = run({"solid", "#00FF00", "2", "2", path("out.png"), "--screen-scale", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    expectNear(read(path("out.png")).at(1, 1), {0, 255, 0, 255}, 0);
    EXPECT_EQ(fs::status(path("out.png")).permissions() & fs::perms::owner_read, fs::perms::owner_read);
}

}  // namespace
