// The library side of the app: Library, album pages with and without artwork, Search, Playlists and Artists.
#include "Screens.h"

#include "ScreenParts.h"

#include <CoreGraphics/CGColor.h>
#include <Foundation/NSString.h>
#include <UIKit/UIGeometry.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <objc/runtime.h>


namespace music::screens {

namespace {

void albumGrid(id parent, double top, const char* const* art, int count) {
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
        artwork(content, {{0, 0}, {164, 164}}, art[i] ? art[i] : "MissingArtworkMusicNote-Large");
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
    // The header takes the page's colour from the scroll view it sits in.
    msg<void>(header, sel<"setBackgroundColor:">(), msg<id>(scroll, sel<"backgroundColor">()));
    // Without art the artwork view shows the placeholder as its image, as it shows art.
    artwork(header, {{67.5, 0}, {240, 240}}, missingArtwork ? "MissingArtworkMusicNote-Large" : "Artwork-NorthernLights");
    id gradient = make("Music.GradientView", {{67.5, 160}, {240, 80}}, header);
    setBackground(gradient, "#000000");
    msg<void>(gradient, sel<"setAlpha:">(), 0.35);
    label(header, {{16, 252}, {343, 26}}, "Northern Lights", 22, true, "#000000", 1);
    label(header, {{16, 280}, {343, 24}}, "The Harbour Band", 20, false, "#FF2D55", 1);
    id genre = label(header, {{16, 306}, {343, 18}}, "", 13, false, "#8E8E93", 1);
    msg<void>(genre, sel<"setAttributedText:">(), attributed("Alternative · 2019", "#8E8E93"));

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
    // The add control's plus is a template, so that it draws in the control's tint.
    id keepLocal = make("MusicLibraryAddKeepLocalControl", {{331, 410}, {28, 28}}, scroll, "UIControl");
    id plus = make("UIImageView", {{4, 4}, {20, 20}}, keepLocal);
    msg<void>(plus, sel<"setImage:">(), msg<id>(namedImage("UniversalAddControlAdd"), sel<"imageWithRenderingMode:">(), 2L));
}

}  // namespace

void buildLibrary(id, id view) {
    setBackground(view, "#FFFFFF");
    largeTitle(view, "Library");
    const char* rows[] = {"Playlists", "Artists", "Albums", "Songs", "Downloaded Music"};
    // "Albums" was just tapped: its row shows selected while the page pushes.
    table(view, {{0, 140}, {375, 220}}, rows, 5, false, 2);
    id index = make("Music.IndexBar", {{360, 150}, {15, 200}}, view, "UIControl");
    const char* letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};
    for (int i = 0; i < 10; ++i) label(index, {{0, i * 20.0}, {15, 20}}, letters[i], 11, true, "#FF2D55", 1);
    label(view, {{16, 376}, {343, 28}}, "Recently Added", 22, true, "#000000");
    const char* art[] = {"Artwork-EveningTides", "Artwork-PaperBoats"};
    albumGrid(view, 412, art, 2);
}

void buildAlbum(id, id view) {
    setBackground(view, "#FFFFFF");
    albumPage(view, false);
}

void buildMissingArtwork(id, id view) {
    setBackground(view, "#FFFFFF");
    albumPage(view, true);
}

void buildSearch(id, id view) {
    setBackground(view, "#FFFFFF");
    largeTitle(view, "Search");
    id search = make("UISearchBar", {{0, 140}, {375, 56}}, view);
    msg<void>(search, sel<"setPlaceholder:">(), static_cast<id>(objc::str("Artists, Songs, Lyrics and More")));
    msg<void>(search, sel<"setBarTintColor:">(), hex("#F9F9FE"));
    id field = make("Music.SearchTextField", {{8, 200}, {359, 36}}, view, "UITextField");
    setBackground(field, "#E5E5EA");
    msg<void>(msg<id>(field, sel<"layer">()), sel<"setCornerRadius:">(), 10.0);
    msg<void>(field, sel<"setTextColor:">(), hex("#000000"));
    msg<void>(field, sel<"setAttributedText:">(), attributed("harbour", "#000000"));
    label(view, {{16, 248}, {343, 24}}, "Recent Searches", 20, true, "#000000");
    const char* recent[] = {"Northern Lights", "The Harbour Band", "Paper Boats"};
    table(view, {{0, 280}, {375, 132}}, recent, 3, false);

}

void focusSearch(id, id view) {
    // Search opens ready to type: its field takes the keyboard once the page is on screen.
    msg<bool>(firstDescendant(view, "Music.SearchTextField"), sel<"becomeFirstResponder">());
}

void buildPlaylists(id, id view) {
    setBackground(view, "#FFFFFF");
    largeTitle(view, "Playlists");
    // The filter bar's field, under the large title.
    id filter = make("MusicTextField", {{16, 146}, {343, 36}}, view, "UITextField");
    setBackground(filter, "#E5E5EA");
    msg<void>(msg<id>(filter, sel<"layer">()), sel<"setCornerRadius:">(), 10.0);
    msg<void>(filter, sel<"setPlaceholder:">(), static_cast<id>(objc::str("Find in Playlists")));
    id list = collection(view, {{0, 190}, {375, 539}}, {375, 88}, 0);
    struct Row {
        const char* art;
        const char* title;
        const char* detail;
    };
    // The first row makes a playlist; smart playlists the app keeps by rules show its gear.
    const Row rows[] = {{"PlaylistAddIcon", "New Playlist…", nullptr},
                        {"PlaylistSmartIcon", "Recently Played", "Smart playlist"},
                        {"PlaylistSmartIcon-Large", "Top 25 Most Played", "Smart playlist"},
                        {"Artwork-LowTide", "Sunday Morning", "18 songs"},
                        {"Artwork-Harbour", "Night Drive", "32 songs"},
                        {"MissingArtworkMusicNote", "Empty Playlist", "No songs"}};
    for (int i = 0; i < 6; ++i) {
        id cell = make("UITableViewCollectionCell", {{0, i * 88.0}, {375, 88}}, list, "UICollectionViewCell");
        setBackground(cell, "#FFFFFF");
        id content = msg<id>(cell, sel<"contentView">());
        artwork(content, {{16, 8}, {72, 72}}, rows[i].art);
        label(content, {{104, rows[i].detail ? 22.0 : 0.0}, {230, rows[i].detail ? 22.0 : 88.0}}, rows[i].title, 17, false,
              rows[i].detail ? "#000000" : "#FF2D55");
        if (rows[i].detail) label(content, {{104, 44}, {230, 20}}, rows[i].detail, 13, false, "#8E8E93");
        glyph(content, {{347, 37}, {8, 13}}, "Chevron-Disclosure", "UIImageView");
        separatorLine(cell, {{104, 87.5}, {271, 0.5}});
    }
}

void buildArtists(id, id view) {
    setBackground(view, "#FFFFFF");
    largeTitle(view, "Artists");
    id grid = collection(view, {{0, 140}, {375, 589}}, {108, 180}, 9.5, 12);
    struct Artist {
        const char* name;
        const char* art;  // nil: the artist has no picture, so a circle shows their initials
        const char* initials;
    };
    const Artist artists[] = {{"The Harbour Band", "Artwork-Harbour", nullptr}, {"Lantern", "Artwork-Lantern", nullptr},
                              {"Paper Boats", nullptr, "PB"},                  {"Low Tide", "Artwork-LowTide", nullptr},
                              {"Evening Tides", nullptr, "ET"},                {"Northern Lights", "Artwork-NorthernLights", nullptr}};
    for (int i = 0; i < 6; ++i) {
        CGRect frame{{16.0 + (i % 3) * 118, 12.0 + (i / 3) * 190}, {108, 180}};
        id cell = make("Music.PersonVerticalCell", frame, grid, "UICollectionViewCell");
        setBackground(cell, "#FFFFFF");
        id content = msg<id>(cell, sel<"contentView">());
        if (artists[i].art) {
            id picture = artwork(content, {{0, 0}, {108, 108}}, artists[i].art, 0);
            msg<void>(msg<id>(picture, sel<"layer">()), sel<"setCornerRadius:">(), 54.0);
            msg<void>(picture, sel<"setClipsToBounds:">(), true);
        } else {
            id circle = make("Music.CircleView", {{0, 0}, {108, 108}}, content);
            msg<void>(circle, sel<"setFillColor:">(), hex("#D8D8D8"));
            label(circle, {{0, 0}, {108, 108}}, artists[i].initials, 36, true, "#FFFFFF", 1);
        }
        label(content, {{0, 114}, {108, 20}}, artists[i].name, 13, false, "#000000", 1);
        // Follow, as the social-relationship controller's button shows it: a stretched pill.
        id follow = make("_TtCC5Music34SocialRelationshipButtonControllerP33_509DFE06D4DCC8AA32580F34E69F2B6F6Button",
                         {{19, 140}, {70, 28}}, content, "UIButton");
        msg<void>(follow, sel<"setTitle:forState:">(), static_cast<id>(objc::str("Follow")), 0UL);
        msg<void>(follow, sel<"setTitleColor:forState:">(), hex("#FF2D55"), 0UL);
        id pill = make("UIImageView", {{0, 0}, {70, 28}}, follow);
        msg<void>(pill, sel<"setImage:">(), resizable("SocialButtonBackground"));
        msg<void>(follow, sel<"sendSubviewToBack:">(), pill);
    }
}

}  // namespace music::screens
