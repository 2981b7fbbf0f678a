// Pictures as PNG files and contact sheets: every encoder setting reads back pixel for pixel, bad pictures and settings give no file, sheets from shrunk pictures.
#include <render/ContactSheet.h>
#include <render/PNGEncoding.h>
#include <render/Renderer.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <thread>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Colour gradients in bands of opaque and clear pixels. (Translucent ones would not come back exactly:
// the reader goes through premultiplied Cairo surfaces.)
render::Picture sample(int width, int height) {
    render::Picture picture{width, height, std::vector<uint8_t>(std::size_t(width) * height * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &picture.rgba[(std::size_t(y) * width + x) * 4];
            p[0] = uint8_t(x * 7), p[1] = uint8_t(y * 3), p[2] = uint8_t(x < width / 2 ? 200 : 40);
            p[3] = y < height / 3 ? 255 : y < 2 * height / 3 ? 0 : 255;
            if (p[3] == 0) p[0] = p[1] = p[2] = 0;  // clear pixels have no colour to keep
        }
    return picture;
}

render::Picture throughFile(const std::string& png) {
    fs::path path = fs::temp_directory_path() / ("picture_file_test_" + std::to_string(::getpid()) + ".png");
    std::ofstream(path, std::ios::binary).write(png.data(), std::streamsize(png.size()));
    render::Picture back = render::readPNG(path);
    fs::remove(path);
    return back;
}

TEST(PictureFile, EverySettingGivesAFileThatReadsBackToTheSamePixels) {
    using render::Deflater;
    using render::RowFilter;
    std::vector<render::PNGCompression> settings;
    for (RowFilter filter : {RowFilter::none, RowFilter::sub, RowFilter::up, RowFilter::paeth, RowFilter::adaptive})
        for (int level : {0, 1, 6, 9})
            for (bool runLengthOnly : {false, true}) settings.push_back({Deflater::zlib, level, filter, runLengthOnly});
    for (RowFilter filter : {RowFilter::none, RowFilter::sub, RowFilter::up})
        for (int level : {0, 1, 2, 3}) settings.push_back({Deflater::igzip, level, filter, false});
    // Odd sizes, so that no row is a multiple of anything; the opaque one is written as RGB.
    render::Picture opaque = sample(61, 45);
    for (uint8_t* p = opaque.rgba.data(); p < opaque.rgba.data() + opaque.rgba.size(); p += 4) p[3] = 255;
    for (const render::Picture& picture : {sample(61, 45), opaque})
        for (const render::PNGCompression& compression : settings) {
            std::string png = render::encodePNG(picture.rgba.data(), picture.width, picture.height, compression);
            SCOPED_TRACE(std::string(compression.deflater == Deflater::zlib ? "zlib" : "igzip") + " filter " + std::to_string(int(compression.filter)) +
                         " level " + std::to_string(compression.level) + (compression.runLengthOnly ? " rle" : ""));
            ASSERT_FALSE(png.empty());
            EXPECT_EQ(png, render::encodePNG(picture.rgba.data(), picture.width, picture.height, compression));
            render::Picture back = throughFile(png);
            EXPECT_EQ(back.width, picture.width);
            EXPECT_EQ(back.height, picture.height);
            EXPECT_EQ(back.rgba, picture.rgba);
        }
}

TEST(PictureFile, ATallIncompressiblePictureFitsAsStoredRows) {
    // Noise igzip cannot pack: the stream falls back to stored blocks and still reads back.
    render::Picture noise{300, 700, std::vector<uint8_t>(300 * 700 * 4)};
    uint32_t state = 12345;
    for (std::size_t i = 0; i < noise.rgba.size(); ++i) {
        state = state * 1103515245u + 12345u;
        noise.rgba[i] = (i % 4 == 3) ? 255 : uint8_t(state >> 24);
    }
    std::string png = noise.png();
    ASSERT_FALSE(png.empty());
    EXPECT_EQ(throughFile(png).rgba, noise.rgba);
}

TEST(PictureFile, APicturePacksToTheSameBytesWhateverWasPackedBefore) {
    // A fresh thread has fresh encoder buffers; this one packs another picture first.
    render::Picture picture = sample(300, 200), other = sample(200, 150);
    for (uint8_t* p = other.rgba.data(); p < other.rgba.data() + other.rgba.size(); p += 4) p[0] ^= 0x5a;
    for (int level : {1, 2, 3}) {
        render::PNGCompression compression{render::Deflater::igzip, level, render::RowFilter::up, false};
        std::string fresh;
        std::thread([&] { fresh = render::encodePNG(picture.rgba.data(), picture.width, picture.height, compression); }).join();
        render::encodePNG(other.rgba.data(), other.width, other.height, compression);
        EXPECT_EQ(render::encodePNG(picture.rgba.data(), picture.width, picture.height, compression), fresh) << "level " << level;
    }
}

TEST(PictureFile, PremultipliedRowsWithPaddingGiveTheFileOfTheirStraightPixels) {
    // Opaque words are the straight pixels rearranged, so the two files must be the same bytes.
    render::Picture picture = sample(37, 20);
    for (uint8_t* p = picture.rgba.data(); p < picture.rgba.data() + picture.rgba.size(); p += 4) p[3] = 255;
    const int stride = 37 * 4 + 12;
    std::vector<uint8_t> words(std::size_t(stride) * 20, 0xee);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 37; ++x) {
            std::array<uint8_t, 4> p = picture.at(x, y);
            uint32_t argb = 0xffu << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
            std::memcpy(&words[std::size_t(y) * stride + x * 4], &argb, 4);
        }
    EXPECT_EQ(render::encodePremultipliedPNG(words.data(), 37, 20, stride), picture.png());
    render::PNGCompression zlib{render::Deflater::zlib, 6, render::RowFilter::adaptive, false};
    EXPECT_EQ(render::encodePremultipliedPNG(words.data(), 37, 20, stride, zlib),
              render::encodePNG(picture.rgba.data(), 37, 20, zlib));
    EXPECT_TRUE(render::encodePremultipliedPNG(words.data(), 37, 20, 37 * 4 - 4).empty()) << "a stride shorter than a row";
}

TEST(PictureFile, NoPixelsOrPixelsThatDoNotFillThePictureGiveNoFile) {
    EXPECT_TRUE(render::encodePNG(nullptr, 4, 4).empty());
    uint8_t pixel[4] = {1, 2, 3, 4};
    EXPECT_TRUE(render::encodePNG(pixel, 0, 1).empty());
    EXPECT_TRUE(render::encodePNG(pixel, 1, -1).empty());
    EXPECT_TRUE(render::encodePNG(pixel, 1, 1, {render::Deflater::zlib, 12, render::RowFilter::up, false}).empty()) << "a level zlib refuses";
    EXPECT_TRUE(render::encodePNG(pixel, 1, 1, {render::Deflater::igzip, 4, render::RowFilter::up, false}).empty()) << "a level igzip refuses";
    EXPECT_TRUE(render::encodePNG(pixel, 1, 1, {render::Deflater::igzip, 1, render::RowFilter::paeth, false}).empty()) << "a filter the igzip path does not write";

    render::Picture short_ = sample(8, 8);
    short_.rgba.resize(8 * 7 * 4);
    EXPECT_TRUE(short_.png().empty()) << "a picture whose bytes end before its last row is not read past its end";
    fs::path path = fs::temp_directory_path() / ("picture_file_test_short_" + std::to_string(::getpid()) + ".png");
    EXPECT_THROW(render::writePNG(short_, path), std::runtime_error);
    fs::remove(path);
}

TEST(ContactSheet, ShrunkPicturesMakeTheSameSheetAsTheSheetShrinkingThem) {
    render::Picture a = sample(90, 60), b = sample(45, 75);
    render::Picture sheet = render::contactSheet({{&a, &b}, {&b}}, 5, 3);
    render::Picture smallA = render::shrinkPicture(a, 3), smallB = render::shrinkPicture(b, 3);
    EXPECT_EQ(smallA.width, 30);
    EXPECT_EQ(smallB.height, 25);
    render::Picture fromShrunk = render::contactSheet({{&smallA, &smallB}, {&smallB}}, 5, 1);
    ASSERT_EQ(sheet.width, 5 + 30 + 5 + 15 + 5);
    ASSERT_EQ(sheet.height, 5 + 25 + 5 + 25 + 5);
    EXPECT_EQ(fromShrunk.rgba, sheet.rgba);
    EXPECT_EQ(sheet.at(2, 2), (std::array<uint8_t, 4>{128, 128, 128, 255})) << "the gap is grey";
    EXPECT_EQ(render::shrinkPicture(a, 1).rgba, a.rgba);
}

}  // namespace
