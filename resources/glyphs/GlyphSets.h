// The sets of pictures the generator draws: the product's placeholder glyphs, the Music app's assets and the media library's album art.
#pragma once

#include "GlyphShapes.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace glyphs {

// 0xRRGGBB, opaque.
using Rgb = std::uint32_t;

// What a picture of the catalogue is made of.
enum class Look {
    Glyph,        // the shape in `ink` on a transparent ground, so that a tint keeps the shape
    Placeholder,  // the shape in `ink`, smaller, on an opaque square of `tile`
    Ramp,         // a black-to-white luminance ramp; no shape
    Artwork,      // album art: a diagonal gradient from `ink` to `tile`, grain, and the shape
                  // laid over it in translucent white
};

// One named image of the simulated Music app's asset catalogue, in the app's light style.
struct MusicAsset {
    const char* name;
    double width, height;  // points
    int scale;             // the file is "<name>@<scale>x.png", or "<name>.png" at scale 1
    Look look;
    Shape shape;
    Rgb ink;
    Rgb tile = 0;
};

std::span<const MusicAsset> musicAssets();
// The album art of the simulated device's media library: pictures the app loads from files,
// not by name, so that nothing tints them as it tints named images.
std::span<const MusicAsset> musicArtwork();

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
