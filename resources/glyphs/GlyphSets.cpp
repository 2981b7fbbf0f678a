// What each picture is: the app's assets with their sizes and light colours, and the product glyphs drawn for its placeholders.
#include "GlyphSets.h"

#include <array>
#include <string_view>

namespace glyphs {

namespace {

// The app's light palette: black transport controls, grey secondary controls, the accent pink
// on everything the user taps, and grey placeholder artwork on a pale tile.
constexpr Rgb kBlack = 0x000000;
constexpr Rgb kGrey = 0x8E8E93;
constexpr Rgb kPink = 0xFF2D55;
constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kPlaceholderInk = 0xA8A8AD;
constexpr Rgb kPlaceholderTile = 0xF0F0F5;

constexpr auto kMusicAssets = std::to_array<MusicAsset>({
    // The now-playing screen.
    {"NowPlaying-Transport-Previous", 30, 30, 3, previous, kBlack},
    {"NowPlaying-Transport-Play", 30, 30, 3, play, kBlack},
    {"NowPlaying-Transport-Pause", 30, 30, 3, pauseInDisc, kBlack},
    {"NowPlaying-Transport-Next", 30, 30, 3, next, kBlack},
    {"NowPlaying-AirPlay", 24, 24, 3, airPlay, kGrey},
    {"NowPlaying-Volume-Min", 18, 18, 3, speaker, kGrey},
    {"NowPlaying-Volume-Max", 18, 18, 3, speakerLoud, kGrey},
    {"NowPlaying-Scrubber-Live", 8, 8, 3, dot, kPink},
    {"UniversalAddControlAdd", 24, 24, 3, plus, kPink},

    // Placeholder artwork, each in two sizes.
    {"MissingArtworkMusicNote", 120, 120, 3, musicNotes, kPlaceholderInk, kPlaceholderTile},
    {"MissingArtworkMusicNote-Large", 200, 200, 3, musicNotes, kPlaceholderInk, kPlaceholderTile},
    {"PlaylistSmartIcon", 120, 120, 3, gear, kPlaceholderInk, kPlaceholderTile},
    {"PlaylistSmartIcon-Large", 200, 200, 3, gear, kPlaceholderInk, kPlaceholderTile},
    {"PlaylistAddIcon", 120, 120, 3, plus, kPlaceholderInk, kPlaceholderTile},
    {"PlaylistAddIcon-Large", 200, 200, 3, plus, kPlaceholderInk, kPlaceholderTile},

    // Glyphs that keep their own colours under the product.
    {"PersonalMixPlayGlyph", 32, 32, 3, play, kWhite},
    {"luminanceColorMap", 256, 8, 1, nullptr, kBlack},

    // Everyday glyphs of the app's pages.
    {"More", 24, 24, 3, ellipsis, kPink},
    {"Download", 24, 24, 3, download, kPink},
    {"Love", 24, 24, 3, heart, kPink},
});

constexpr std::string_view kMissingArtwork = "MissingArtworkMusicNote";
constexpr std::array<std::string_view, 2> kPlaylistMarks = {"PlaylistSmartIcon", "PlaylistAddIcon"};

}  // namespace

std::span<const MusicAsset> musicAssets() { return kMusicAssets; }

std::vector<ResourceGlyph> resourceGlyphs() {
    std::vector<ResourceGlyph> glyphs;
    bool missingArtwork = false;
    for (const MusicAsset& asset : kMusicAssets) {
        std::string_view name = asset.name;
        if (name.find(kMissingArtwork) != std::string_view::npos) {
            if (!missingArtwork) glyphs.push_back({std::string(kMissingArtwork), asset.shape});
            missingArtwork = true;
            continue;
        }
        for (std::string_view mark : kPlaylistMarks)
            if (name.find(mark) != std::string_view::npos) {
                glyphs.push_back({std::string(name), asset.shape});
                break;
            }
    }
    return glyphs;
}

}  // namespace glyphs
