// obscuro-glyphs: draws the product's placeholder glyphs or the Music app's asset catalogue into a folder, as PNG files.
#include "GlyphSets.h"

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
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

cairo_surface_t* drawAsset(const glyphs::MusicAsset& asset) {
    int width = static_cast<int>(std::lround(asset.width * asset.scale));
    int height = static_cast<int>(std::lround(asset.height * asset.scale));
    if (!asset.shape) {
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
    if (!asset.tile) return drawShape(asset.shape, asset.ink, width, height, 1.0);

    // The glyph is drawn apart and laid on the tile, so that a shape's cut-outs show the tile.
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

bool writeMusicAssets(const fs::path& folder) {
    bool ok = true;
    for (const glyphs::MusicAsset& asset : glyphs::musicAssets()) {
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
    if (set != "resource-folder" && set != "music-assets") {
        std::fprintf(stderr,
                     "usage: obscuro-glyphs resource-folder DIR   the product's placeholder glyphs\n"
                     "       obscuro-glyphs music-assets DIR      the simulated Music app's asset catalogue\n");
        return 2;
    }
    fs::path folder = argv[2];
    if (!prepareFolder(folder)) return 1;
    bool ok = set == "music-assets" ? writeMusicAssets(folder) : writeResourceGlyphs(folder);
    return ok ? 0 : 1;
}
