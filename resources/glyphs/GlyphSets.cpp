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
constexpr Rgb kLightGrey = 0xC7C7CC;
constexpr Rgb kPlaceholderInk = 0xA8A8AD;
constexpr Rgb kPlaceholderTile = 0xF0F0F5;

constexpr Look G = Look::Glyph;
constexpr Look P = Look::Placeholder;
constexpr Look A = Look::Artwork;

constexpr auto kMusicAssets = std::to_array<MusicAsset>({
    // The now-playing screen.
    {"NowPlaying-Transport-Previous", 30, 30, 3, G, previous, kBlack},
    {"NowPlaying-Transport-Play", 30, 30, 3, G, play, kBlack},
    {"NowPlaying-Transport-Pause", 30, 30, 3, G, pauseInDisc, kBlack},
    {"NowPlaying-Transport-Next", 30, 30, 3, G, next, kBlack},
    {"NowPlaying-AirPlay", 24, 24, 3, G, airPlay, kGrey},
    {"NowPlaying-Volume-Min", 18, 18, 3, G, speaker, kGrey},
    {"NowPlaying-Volume-Max", 18, 18, 3, G, speakerLoud, kGrey},
    {"NowPlaying-Scrubber-Live", 8, 8, 3, G, dot, kPink},
    {"UniversalAddControlAdd", 24, 24, 3, G, plus, kPink},
    // Up Next's toggles, 17 points square: the app stretches them into its toggle buttons.
    {"NowPlaying-Shuffle", 17, 17, 3, G, shuffle, kPink},
    {"NowPlaying-Repeat", 17, 17, 3, G, repeat, kPink},

    // Placeholder artwork, each in two sizes.
    {"MissingArtworkMusicNote", 120, 120, 3, P, musicNotes, kPlaceholderInk, kPlaceholderTile},
    {"MissingArtworkMusicNote-Large", 200, 200, 3, P, musicNotes, kPlaceholderInk, kPlaceholderTile},
    {"PlaylistSmartIcon", 120, 120, 3, P, gear, kPlaceholderInk, kPlaceholderTile},
    {"PlaylistSmartIcon-Large", 200, 200, 3, P, gear, kPlaceholderInk, kPlaceholderTile},
    {"PlaylistAddIcon", 120, 120, 3, P, plus, kPlaceholderInk, kPlaceholderTile},
    {"PlaylistAddIcon-Large", 200, 200, 3, P, plus, kPlaceholderInk, kPlaceholderTile},

    // Glyphs that keep their own colours under the product.
    {"PersonalMixPlayGlyph", 32, 32, 3, G, play, kWhite},
    {"luminanceColorMap", 256, 8, 1, Look::Ramp, nullptr, kBlack},

    // The tab bar.
    {"Tab-Library", 25, 25, 3, G, albumStack, kGrey},
    {"Tab-ForYou", 25, 25, 3, G, heart, kGrey},
    {"Tab-Browse", 25, 25, 3, G, musicNote, kGrey},
    {"Tab-Radio", 25, 25, 3, G, radioWaves, kGrey},
    {"Tab-Search", 25, 25, 3, G, magnifier, kGrey},

    // Everyday glyphs of the app's pages.
    {"More", 24, 24, 3, G, ellipsis, kPink},
    {"Download", 24, 24, 3, G, download, kPink},
    {"Love", 24, 24, 3, G, heart, kPink},
    {"Search", 16, 16, 3, G, magnifier, kGrey},
    {"Chevron-Back", 13, 21, 3, G, chevronLeft, kPink},
    {"Chevron-Disclosure", 8, 13, 3, G, chevronRight, kLightGrey},
    // Stretched behind the follow button's title.
    {"SocialButtonBackground", 15, 15, 3, G, dot, kLightGrey},
    // Laid over artwork by the artwork view, to round its corners into the page.
    {"ArtworkCornerMask", 60, 60, 2, G, cornerMask, kWhite},

});

// Each album's cover, and the personal mixes' cards, which are taller than wide.
constexpr auto kMusicArtwork = std::to_array<MusicAsset>({
    {"NorthernLights", 200, 200, 2, A, radioWaves, 0x1D3B72, 0x57C1B9},
    {"EveningTides", 200, 200, 2, A, musicNotes, 0xC0392B, 0xF5B041},
    {"PaperBoats", 200, 200, 2, A, play, 0x1E8449, 0xD4EFDF},
    {"Lantern", 200, 200, 2, A, dot, 0x512E5F, 0xE59866},
    {"LowTide", 200, 200, 2, A, heart, 0x154360, 0xAED6F1},
    {"Harbour", 200, 200, 2, A, gear, 0x212F3D, 0xF4D03F},
    {"FavouritesMix", 150, 190, 2, A, heart, 0xE74C3C, 0x8E44AD},
    {"NewMusicMix", 150, 190, 2, A, musicNote, 0x16A085, 0x2E86C1},
});

constexpr std::string_view kMissingArtwork = "MissingArtworkMusicNote";
constexpr std::array<std::string_view, 2> kPlaylistMarks = {"PlaylistSmartIcon", "PlaylistAddIcon"};

}  // namespace

std::span<const MusicAsset> musicAssets() { return kMusicAssets; }

std::span<const MusicAsset> musicArtwork() { return kMusicArtwork; }

std::vector<ResourceGlyph> resourceGlyphs() {
    std::vector<ResourceGlyph> glyphs;
    bool missingArtwork = false;
    for (const MusicAsset& asset : kMusicAssets) {
        if (asset.look != Look::Placeholder) continue;
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
