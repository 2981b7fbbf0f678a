// obscuro-glyphs: draws the product's placeholder glyphs, the Music app's asset catalogue or its album art into a folder, as PNG files.
#include "GlyphSets.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace {

namespace fs = std::filesystem;

void setSource(cairo_t* cr, glyphs::Rgb rgb) {
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

// A picture of `width` × `height` pixels holding `shape` in `ink`, the unit square stretched
// over the inner `coverage` of the picture.
cairo_surface_t* drawShape(glyphs::Shape shape, glyphs::Rgb ink, int width, int height, double coverage) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_translate(cr, width * (1 - coverage) / 2, height * (1 - coverage) / 2);
    cairo_scale(cr, width * coverage, height * coverage);
    setSource(cr, ink);
    shape(cr);
    cairo_destroy(cr);
    return surface;
}

cairo_surface_t* drawRamp(int width, int height) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_pattern_t* ramp = cairo_pattern_create_linear(0, 0, width, 0);
    cairo_pattern_add_color_stop_rgb(ramp, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgb(ramp, 1, 1, 1, 1);
    cairo_set_source(cr, ramp);
    cairo_paint(cr);
    cairo_pattern_destroy(ramp);
    cairo_destroy(cr);
    return surface;
}

// The glyph is drawn apart and laid on the tile, so that a shape's cut-outs show the tile.
cairo_surface_t* drawPlaceholder(const glyphs::MusicAsset& asset, int width, int height) {
    cairo_surface_t* glyph = drawShape(asset.shape, asset.ink, width, height, 0.6);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    setSource(cr, asset.tile);
    cairo_paint(cr);
    cairo_set_source_surface(cr, glyph, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(glyph);
    return surface;
}

// Album art: a diagonal gradient, rings of light rising from one corner, a fine grain so that
// no two neighbouring pixels are quite alike, and the album's motif in translucent white.
cairo_surface_t* drawArtwork(const glyphs::MusicAsset& asset, int width, int height) {
    auto channel = [](glyphs::Rgb rgb, int shift) { return ((rgb >> shift) & 0xFF) / 255.0; };
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, width, height);
    cairo_pattern_add_color_stop_rgb(gradient, 0, channel(asset.ink, 16), channel(asset.ink, 8), channel(asset.ink, 0));
    cairo_pattern_add_color_stop_rgb(gradient, 1, channel(asset.tile, 16), channel(asset.tile, 8), channel(asset.tile, 0));
    cairo_set_source(cr, gradient);
    cairo_paint(cr);
    cairo_pattern_destroy(gradient);

    const double side = std::min(width, height);
    cairo_set_line_width(cr, side * 0.025);
    for (int ring = 1; ring <= 6; ++ring) {
        cairo_set_source_rgba(cr, 1, 1, 1, 0.05 + 0.02 * ring);
        cairo_new_sub_path(cr);
        cairo_arc(cr, width * 0.85, height * 0.85, side * 0.14 * ring, 0, 2 * M_PI);
        cairo_stroke(cr);
    }

    // A fixed linear congruential sequence, so that every build draws the same grain.
    std::uint32_t seed = 0x2545F491u ^ static_cast<std::uint32_t>(asset.ink);
    for (int i = 0; i < width * height / 40; ++i) {
        seed = seed * 1664525u + 1013904223u;
        double x = (seed >> 8) % width;
        seed = seed * 1664525u + 1013904223u;
        double y = (seed >> 8) % height;
        cairo_set_source_rgba(cr, (seed >> 4) & 1, (seed >> 4) & 1, (seed >> 4) & 1, 0.08);
        cairo_rectangle(cr, x, y, 1, 1);
        cairo_fill(cr);
    }

    cairo_surface_t* motif = drawShape(asset.shape, 0xFFFFFF, static_cast<int>(side), static_cast<int>(side), 0.5);
    cairo_set_source_surface(cr, motif, (width - side) / 2, (height - side) / 2 - side * 0.08);
    cairo_paint_with_alpha(cr, 0.55);
    cairo_surface_destroy(motif);
    cairo_destroy(cr);
    return surface;
}

cairo_surface_t* drawAsset(const glyphs::MusicAsset& asset) {
    int width = static_cast<int>(std::lround(asset.width * asset.scale));
    int height = static_cast<int>(std::lround(asset.height * asset.scale));
    switch (asset.look) {
    case glyphs::Look::Glyph: return drawShape(asset.shape, asset.ink, width, height, 1.0);
    case glyphs::Look::Placeholder: return drawPlaceholder(asset, width, height);
    case glyphs::Look::Ramp: return drawRamp(width, height);
    case glyphs::Look::Artwork: return drawArtwork(asset, width, height);
    }
    return nullptr;
}

bool writePng(cairo_surface_t* surface, const fs::path& file) {
    cairo_status_t status = cairo_surface_status(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_write_to_png(surface, file.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) std::fprintf(stderr, "obscuro-glyphs: %s: %s\n", file.c_str(), cairo_status_to_string(status));
    return status == CAIRO_STATUS_SUCCESS;
}

// The folder holds exactly this run's pictures: PNG files left from an earlier set go.
bool prepareFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "obscuro-glyphs: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
        return false;
    }
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file() && entry.path().extension() == ".png") fs::remove(entry.path(), error);
    return true;
}

bool writeMusicAssets(const fs::path& folder, std::span<const glyphs::MusicAsset> assets) {
    bool ok = true;
    for (const glyphs::MusicAsset& asset : assets) {
        std::string file = asset.name;
        file += asset.scale == 1 ? ".png" : "@" + std::to_string(asset.scale) + "x.png";
        ok = writePng(drawAsset(asset), folder / file) && ok;
    }
    return ok;
}

bool writeResourceGlyphs(const fs::path& folder) {
    bool ok = true;
    for (const glyphs::ResourceGlyph& glyph : glyphs::resourceGlyphs()) {
        cairo_surface_t* surface =
            drawShape(glyph.shape, 0xFFFFFF, glyphs::kResourceGlyphPixels, glyphs::kResourceGlyphPixels, 1.0);
        ok = writePng(surface, folder / (glyph.key + ".png")) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    std::string_view set = argc == 3 ? argv[1] : "";
    if (set != "resource-folder" && set != "music-assets" && set != "music-artwork") {
        std::fprintf(stderr,
                     "usage: obscuro-glyphs resource-folder DIR   the product's placeholder glyphs\n"
                     "       obscuro-glyphs music-assets DIR      the simulated Music app's asset catalogue\n"
                     "       obscuro-glyphs music-artwork DIR     the album art of the simulated media library\n");
        return 2;
    }
    fs::path folder = argv[2];
    if (!prepareFolder(folder)) return 1;
    bool ok = set == "music-assets"    ? writeMusicAssets(folder, glyphs::musicAssets())
              : set == "music-artwork" ? writeMusicAssets(folder, glyphs::musicArtwork())
                                       : writeResourceGlyphs(folder);
    return ok ? 0 : 1;
}
