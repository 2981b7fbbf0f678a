// The Music app's asset catalogue and the product's placeholder glyphs, as the build stages them on the default device.
#include <music/MusicApp.h>
#include <music/MusicAssets.h>

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/Foundation.h>
#include <device/device.h>
#include <objc/Strong.h>
#include <objc/message.h>

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* kResourceFolder = "/Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle/";

// The names the product's named-image rules test for, each in a name the app requests.
const std::vector<std::string> kNamesTheProductTests = {
    "NowPlaying-Scrubber-Live",  "NowPlaying-Transport-Previous", "NowPlaying-Transport-Play", "NowPlaying-Transport-Pause",
    "NowPlaying-AirPlay",        "NowPlaying-Volume-Min",         "NowPlaying-Volume-Max",     "NowPlaying-Transport-Next",
    "UniversalAddControlAdd",    "PlaylistSmartIcon",             "MissingArtworkMusicNote",   "PlaylistAddIcon",
    "PersonalMixPlayGlyph",      "luminanceColorMap",
};

fs::path hostPath(const std::string& devicePath) { return device::resolve(devicePath).value_or(fs::path()); }

// A PNG as Cairo reads it: independent of the platform's own decoder.
struct Picture {
    explicit Picture(const fs::path& file) : surface(cairo_image_surface_create_from_png(file.c_str())) {}
    ~Picture() { cairo_surface_destroy(surface); }
    bool ok() const { return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(surface); }
    int height() const { return cairo_image_surface_get_height(surface); }
    int alpha(int x, int y) const {
        const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        std::uint32_t pixel = reinterpret_cast<const std::uint32_t*>(row)[x];
        return cairo_image_surface_get_format(surface) == CAIRO_FORMAT_RGB24 ? 255 : static_cast<int>(pixel >> 24);
    }
    std::uint32_t rgb(int x, int y) const {
        const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
    }
    int opaquePixels() const {
        int n = 0;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x) n += alpha(x, y) == 255;
        return n;
    }
    cairo_surface_t* surface;
};

// The asset name of a catalogue file: "NAME@3x.png" and "NAME.png" are both NAME.
std::string assetName(const fs::path& file) {
    std::string stem = file.stem().string();
    auto at = stem.rfind('@');
    return at == std::string::npos ? stem : stem.substr(0, at);
}

class MusicAssets : public ::testing::Test {
protected:
    void SetUp() override {
        device::setRoot(OBSCURO_DEVICE_ROOT);
        folder_ = hostPath(music::kAssetFolder);
        ASSERT_TRUE(fs::is_directory(folder_)) << "the default device has no asset folder; build stage_device";
        for (const auto& entry : fs::directory_iterator(folder_)) files_.push_back(entry.path());
    }
    objc::AutoreleasePool pool_;
    fs::path folder_;
    std::vector<fs::path> files_;
};

bool isPlaceholderName(const std::string& name) {
    for (const char* mark : {"MissingArtworkMusicNote", "PlaylistSmartIcon", "PlaylistAddIcon"})
        if (name.find(mark) != std::string::npos) return true;
    return false;
}

// A tint paints every pixel a glyph covers, so a glyph keeps its shape only where the pixels
// outside it are transparent; placeholder artwork and the colour map are whole squares.
TEST_F(MusicAssets, GlyphsAreShapesOnATransparentGroundAndPlaceholdersAreSquares) {
    ASSERT_FALSE(files_.empty());
    for (const fs::path& file : files_) {
        Picture picture(file);
        ASSERT_TRUE(picture.ok()) << file;
        std::string name = assetName(file);
        int pixels = picture.width() * picture.height();
        if (isPlaceholderName(name) || name == "luminanceColorMap") {
            EXPECT_EQ(picture.opaquePixels(), pixels) << file;
            continue;
        }
        EXPECT_GT(picture.opaquePixels(), 0) << file << " draws nothing";
        EXPECT_LT(picture.opaquePixels(), pixels * 3 / 4) << file << " is nearly a solid square";
    }
}

// Album art is a picture, not a flat colour: opaque to the edges, with a gradient and grain.
TEST_F(MusicAssets, LibraryArtworkIsOpaqueAndVaried) {
    fs::path folder = hostPath(music::kArtworkFolder);
    ASSERT_TRUE(fs::is_directory(folder));
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        Picture art(entry.path());
        ASSERT_TRUE(art.ok()) << entry.path();
        ++count;
        EXPECT_EQ(art.opaquePixels(), art.width() * art.height()) << entry.path();
        std::set<std::uint32_t> colours;
        for (int y = 0; y < art.height(); y += 7)
            for (int x = 0; x < art.width(); x += 7) colours.insert(art.rgb(x, y));
        EXPECT_GT(colours.size(), 200u) << entry.path() << " is nearly flat";
        EXPECT_NE(art.rgb(0, 0), art.rgb(art.width() - 1, art.height() - 1)) << entry.path();
        EXPECT_EQ(music::assetNamed(assetName(entry.path())), nullptr) << entry.path() << " is a named image too";
    }
    EXPECT_GE(count, 6);
}

// Art is loaded from its file, once, with the scale its name gives.
TEST_F(MusicAssets, LibraryArtworkLoadsOnceByNameOfItsFile) {
    id art = music::libraryArtwork("NorthernLights");
    ASSERT_NE(art, nullptr);
    EXPECT_EQ(music::libraryArtwork("NorthernLights"), art);
    EXPECT_EQ(msg<double>(art, sel<"scale">()), 2.0);
    EXPECT_EQ(music::libraryArtwork("NoSuchAlbum"), nullptr);
    EXPECT_EQ(music::libraryArtwork("../Assets/More"), nullptr);
    EXPECT_EQ(music::libraryArtwork(""), nullptr);
}

TEST_F(MusicAssets, CatalogueHoldsEveryNameTheProductTestsFor) {
    for (const std::string& wanted : kNamesTheProductTests) {
        bool found = false;
        for (const fs::path& file : files_) found = found || assetName(file).find(wanted) != std::string::npos;
        EXPECT_TRUE(found) << wanted;
    }
}

// The product composes a placeholder from the glyph file of its key: one per name holding
// "PlaylistSmartIcon" or "PlaylistAddIcon", one for every name holding "MissingArtworkMusicNote".
TEST_F(MusicAssets, ResourceFolderHoldsAGlyphForEveryPlaceholderTheAppRequests) {
    int placeholders = 0;
    for (const fs::path& file : files_) {
        std::string name = assetName(file);
        std::string key;
        if (name.find("MissingArtworkMusicNote") != std::string::npos) key = "MissingArtworkMusicNote";
        else if (name.find("PlaylistSmartIcon") != std::string::npos || name.find("PlaylistAddIcon") != std::string::npos) key = name;
        else continue;
        ++placeholders;
        Picture glyph(hostPath(kResourceFolder + key + ".png"));
        ASSERT_TRUE(glyph.ok()) << key;
        EXPECT_EQ(glyph.width(), 400) << key;
        EXPECT_EQ(glyph.height(), 400) << key;
        // A shape on a transparent ground.
        EXPECT_EQ(glyph.alpha(0, 0), 0) << key;
        EXPECT_EQ(glyph.alpha(399, 399), 0) << key;
        EXPECT_GT(glyph.opaquePixels(), 400 * 400 / 10) << key;
    }
    EXPECT_GE(placeholders, 4);
}

TEST_F(MusicAssets, NamedAssetsLoadOnceWithTheirScale) {
    id play = music::assetNamed("NowPlaying-Transport-Play");
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(msg<double>(play, sel<"scale">()), 3.0);
    CGSize size = msg<CGSize>(play, sel<"size">());
    EXPECT_EQ(size.width, 30.0);
    EXPECT_EQ(size.height, 30.0);
    EXPECT_EQ(music::assetNamed("NowPlaying-Transport-Play"), play);

    id ramp = music::assetNamed("luminanceColorMap");
    ASSERT_NE(ramp, nullptr);
    EXPECT_EQ(msg<double>(ramp, sel<"scale">()), 1.0);
}

TEST_F(MusicAssets, NamesOutsideTheCatalogueAreNil) {
    for (const char* name : {"", "NoSuchAsset", "../Assets/NowPlaying-Transport-Play", "Assets/NowPlaying-Transport-Play",
                             "NowPlaying-Transport-Play@3x"})
        EXPECT_EQ(music::assetNamed(name), nullptr) << name;
}

TEST_F(MusicAssets, ImageNamedAnswersFromTheCatalogueForTheAppsOwnBundleOnly) {
    music::startMusicApp();
    Class image = objc_getClass("UIImage");
    id name = objc::str("NowPlaying-Transport-Pause");
    id pause = music::assetNamed("NowPlaying-Transport-Pause");
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(msg<id>(image, sel<"imageNamed:">(), name), pause);

    id mainBundle = msg<id>(objc_getClass("NSBundle"), sel<"mainBundle">());
    EXPECT_EQ(msg<id>(image, sel<"imageNamed:inBundle:compatibleWithTraitCollection:">(), name, mainBundle, static_cast<id>(nullptr)),
              pause);

    id productBundle = msg<id>(objc_getClass("NSBundle"), sel<"bundleWithPath:">(), objc::str(kResourceFolder));
    ASSERT_NE(productBundle, nullptr);
    EXPECT_EQ(msg<id>(image, sel<"imageNamed:inBundle:compatibleWithTraitCollection:">(), name, productBundle, static_cast<id>(nullptr)),
              nullptr);
}

}  // namespace
