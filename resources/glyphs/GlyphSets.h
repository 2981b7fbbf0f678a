// The two sets of pictures the generator draws: the product's placeholder glyphs and the Music app's assets.
#pragma once

#include "GlyphShapes.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace glyphs {

// 0xRRGGBB, opaque.
using Rgb = std::uint32_t;

// One named image of the simulated Music app's asset catalogue, in the app's light style.
struct MusicAsset {
    const char* name;
    double width, height;  // points
    int scale;             // the file is "<name>@<scale>x.png", or "<name>.png" at scale 1
    Shape shape;           // nil: a luminance ramp rather than a glyph
    Rgb ink;
    // Placeholder artwork is a glyph on a light square of this colour; 0 for plain glyphs.
    Rgb tile = 0;
};

std::span<const MusicAsset> musicAssets();

// One glyph of the product's resource folder: "<key>.png", white on transparent.
struct ResourceGlyph {
    std::string key;
    Shape shape;
};

// The glyph side of a placeholder: the picture is 400 × 400 pixels, the box the product draws
// it in. One per placeholder asset name of the app ("…PlaylistSmartIcon…", "…PlaylistAddIcon…"),
// and one "MissingArtworkMusicNote" for every name holding that, since the product composes
// all of those from one file.
std::vector<ResourceGlyph> resourceGlyphs();
constexpr int kResourceGlyphPixels = 400;

}  // namespace glyphs
