// The library side of the app: Library, an album page, Search with its keyboard, and a page without artwork.
#include "Screens.h"

#include "ScreenParts.h"

#include <CoreGraphics/CGColor.h>
#include <Foundation/NSString.h>
#include <UIKit/UIGeometry.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <objc/runtime.h>

#include <string>

namespace music::screens {

namespace {

void albumGrid(id parent, double top, const char* const* colours, int count) {
    id grid = make("Music.CompositeCollectionView", {{0, top}, {375, 250}}, parent, "UICollectionView");
    setBackground(grid, "#FFFFFF");
    // Two album cells to a row, inset like the rest of the page.
    id layout = msg<id>(grid, sel<"collectionViewLayout">());
    msg<void>(layout, sel<"setItemSize:">(), CGSize{164, 230});
    msg<void>(layout, sel<"setMinimumInteritemSpacing:">(), 15.0);
    msg<void>(layout, sel<"setSectionInset:">(), UIEdgeInsets{0, 16, 0, 16});
    for (int i = 0; i < count; ++i) {
        id cell = make("Music.AlbumCell", {{16.0 + i * 179, 0}, {164, 230}}, grid, "UICollectionViewCell");
        id content = msg<id>(cell, sel<"contentView">());
        id art = artwork(content, {{0, 0}, {164, 164}}, colours[i] ? colours[i] : "#F0F0F7");
        if (!colours[i]) glyph(art, {{52, 52}, {60, 60}}, "MissingArtworkMusicNote-Large");
        label(content, {{0, 170}, {164, 20}}, i ? "Evening Tides" : "Northern Lights", 13, false, "#000000");
        label(content, {{0, 190}, {164, 20}}, "The Harbour Band", 13, false, "#8E8E93");
    }
}

void downloadRing(id parent, CGRect frame) {
    id ring = make("_MusicDownloadProgressRingView", frame, parent);
    id layerClass = reinterpret_cast<id>(objc_getClass("CAShapeLayer"));
    id shape = objc::autorelease(msg<id>(msg<id>(layerClass, sel<"alloc">()), sel<"init">()));
    msg<void>(shape, sel<"setFrame:">(), CGRect{{0, 0}, frame.size});
    msg<void>(shape, sel<"setFillColor:">(), static_cast<CGColorRef>(nullptr));
    msg<void>(shape, sel<"setStrokeColor:">(), msg<CGColorRef>(hex("#FF2D55"), sel<"CGColor">()));
    msg<void>(shape, sel<"setLineWidth:">(), 2.0);
    msg<void>(shape, sel<"setStrokeEnd:">(), 0.6);
    msg<void>(msg<id>(ring, sel<"layer">()), sel<"addSublayer:">(), shape);
    id mpRing = make("_MPDownloadProgressRingView", {{0, 0}, frame.size}, ring);
    msg<void>(mpRing, sel<"setProgress:">(), 0.6);
}

void albumPage(id view, bool missingArtwork) {
    id scroll = make("Music.VerticalScrollStackScrollView", {{0, 0}, {375, 729}}, view, "UIScrollView");
    setBackground(scroll, "#FFFFFF");
    id header = make("Music.ContainerDetailHeaderReusableView", {{0, 88}, {375, 360}}, scroll, "UIView");
    id art = artwork(header, {{67.5, 0}, {240, 240}}, missingArtwork ? "#F0F0F7" : "#3A6EA5");
    if (missingArtwork) glyph(art, {{70, 70}, {100, 100}}, "MissingArtworkMusicNote-Large");
    id gradient = make("Music.GradientView", {{67.5, 160}, {240, 80}}, header);
    setBackground(gradient, "#000000");
    msg<void>(gradient, sel<"setAlpha:">(), 0.35);
    label(header, {{16, 252}, {343, 26}}, "Northern Lights", 22, true, "#000000", 1);
    label(header, {{16, 280}, {343, 24}}, "The Harbour Band", 20, false, "#FF2D55", 1);
    label(header, {{16, 306}, {343, 18}}, "Alternative · 2019", 13, false, "#8E8E93", 1);

    id controls = make("Music.PlayIntentControlsReusableView", {{0, 450}, {375, 60}}, scroll, "UIView");
    const char* titles[] = {"Play", "Shuffle"};
    const char* images[] = {"NowPlaying-Transport-Play", "NowPlaying-Transport-Next"};
    for (int i = 0; i < 2; ++i) {
        id button = imageButton(controls, {{16.0 + i * 179, 8}, {164, 44}}, images[i], "Music.SubtitledButton");
        setBackground(button, "#F0F0F7");
        msg<void>(msg<id>(button, sel<"layer">()), sel<"setCornerRadius:">(), 8.0);
        msg<void>(button, sel<"setTitle:forState:">(), static_cast<id>(objc::str(titles[i])), 0UL);
        msg<void>(button, sel<"setTitleColor:forState:">(), hex("#FF2D55"), 0UL);
    }
    make("Music.TitleSectionHeaderView", {{0, 512}, {375, 8}}, scroll, "UIView");
    const char* tracks[] = {"1  Harbour Lights", "2  Slow Current", "3  Paper Boats", "4  Lantern", "5  Low Tide"};
    id list = table(scroll, {{0, 520}, {375, 220}}, tracks, 5, false);
    for (int i = 0; i < 5; ++i) downloadRing(list, {{339, 12.0 + i * 44}, {20, 20}});
    id keepLocal = make("MusicLibraryAddKeepLocalControl", {{331, 410}, {28, 28}}, scroll, "UIControl");
    glyph(keepLocal, {{4, 4}, {20, 20}}, "UniversalAddControlAdd");
}

}  // namespace

void buildLibrary(id, id view) {
    setBackground(view, "#FFFFFF");
    navigationBar(view, "Library");
    const char* rows[] = {"Playlists", "Artists", "Albums", "Songs", "Downloaded Music"};
    table(view, {{0, 140}, {375, 220}}, rows, 5, false);
    id index = make("Music.IndexBar", {{360, 150}, {15, 200}}, view, "UIControl");
    const char* letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
    for (int i = 0; i < 10; ++i) label(index, {{0, i * 20.0}, {15, 20}}, letters[i], 11, true, "#FF2D55", 1);
    label(view, {{16, 376}, {343, 28}}, "Recently Added", 22, true, "#000000");
    const char* colours[] = {"#C0392B", "#27AE60"};
    albumGrid(view, 412, colours, 2);
    tabBar(view);
}

void buildAlbum(id, id view) {
    setBackground(view, "#FFFFFF");
    albumPage(view, false);
    navigationBar(view, "");
    tabBar(view);
}

void buildMissingArtwork(id, id view) {
    setBackground(view, "#FFFFFF");
    albumPage(view, true);
    navigationBar(view, "");
    tabBar(view);
}

void buildSearch(id, id view) {
    setBackground(view, "#FFFFFF");
    navigationBar(view, "Search");
    id search = make("UISearchBar", {{0, 140}, {375, 56}}, view);
    msg<void>(search, sel<"setPlaceholder:">(), static_cast<id>(objc::str("Artists, Songs, Lyrics and More")));
    msg<void>(search, sel<"setBarTintColor:">(), hex("#F9F9FE"));
    id field = make("Music.SearchTextField", {{8, 200}, {359, 36}}, view, "UITextField");
    setBackground(field, "#E5E5EA");
    msg<void>(msg<id>(field, sel<"layer">()), sel<"setCornerRadius:">(), 10.0);
    msg<void>(field, sel<"setText:">(), static_cast<id>(objc::str("harbour")));
    msg<void>(field, sel<"setTextColor:">(), hex("#000000"));
    label(view, {{16, 248}, {343, 24}}, "Recent Searches", 20, true, "#000000");
    const char* recent[] = {"Northern Lights", "The Harbour Band", "Paper Boats"};
    table(view, {{0, 280}, {375, 132}}, recent, 3, false);

    id keyboard = make("UIView", {{0, 476}, {375, 336}}, view);
    setBackground(keyboard, "#D8D8D8");
    const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    for (int r = 0; r < 3; ++r) {
        std::string keys = rows[r];
        double width = 31.5, left = (375 - keys.size() * (width + 6) + 6) / 2;
        for (std::size_t k = 0; k < keys.size(); ++k) {
            id key = make("UIView", {{left + k * (width + 6), 10.0 + r * 54}, {width, 42}}, keyboard);
            setBackground(key, "#FFFFFF");
            msg<void>(msg<id>(key, sel<"layer">()), sel<"setCornerRadius:">(), 5.0);
            label(key, {{0, 0}, {width, 42}}, keys.substr(k, 1).c_str(), 22, false, "#000000", 1);
        }
    }
    id dock = make("UIKeyboardDockView", {{0, 256}, {375, 80}}, keyboard);
    setBackground(dock, "#D8D8D8");
    glyph(dock, {{20, 16}, {28, 28}}, "NowPlaying-AirPlay");
    make("DevicePINKeypad", {{0, 0}, {0, 0}}, view);
}

}  // namespace music::screens
