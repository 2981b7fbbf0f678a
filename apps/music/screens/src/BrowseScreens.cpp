// The discovery side of the app: For You with its personal mixes, Browse, Radio, music videos, Connect and a list being refreshed.
#include "Screens.h"

#include "ScreenParts.h"

#include <CoreGraphics/CGColor.h>
#include <Foundation/NSString.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <objc/runtime.h>

namespace music::screens {

namespace {

// A section title with the tinted "See All" the app puts beside it; the label shows the tint
// it inherits from the page.
void sectionHeader(id parent, double y, const char* title) {
    label(parent, {{16, y}, {260, 28}}, title, 22, true, "#000000");
    id seeAll = label(parent, {{279, y}, {80, 28}}, "See All", 17, false, "#FF2D55", 2);
    msg<void>(seeAll, sel<"setTextColor:">(), msg<id>(seeAll, sel<"tintColor">()));
}

// A row of square album tiles with their titles.
void albumShelf(id parent, double y, const char* const* art, const char* const* titles, int count) {
    id shelf = collection(parent, {{0, y}, {375, 200}}, {110, 160}, 6);
    for (int i = 0; i < count; ++i) {
        id cell = make("Music.AlbumCell", {{16.0 + i * 120, 0}, {110, 160}}, shelf, "UICollectionViewCell");
        id content = msg<id>(cell, sel<"contentView">());
        artwork(content, {{0, 0}, {110, 110}}, art[i]);
        label(content, {{0, 116}, {110, 18}}, titles[i], 13, false, "#000000");
        label(content, {{0, 134}, {110, 18}}, "The Harbour Band", 13, false, "#8E8E93");
    }
}

// A personal mix: its card (an image taller than wide), the mix's art, its title and the play
// button over the art.
void personalMix(id parent, CGRect frame, const char* card, const char* art, const char* title) {
    id cell = make("Music.PersonalMixCell", frame, parent, "UICollectionViewCell");
    id content = msg<id>(cell, sel<"contentView">());
    id background = make("UIImageView", {{0, 0}, frame.size}, content);
    msg<void>(background, sel<"setImage:">(), artworkImage(card));
    msg<void>(msg<id>(background, sel<"layer">()), sel<"setCornerRadius:">(), 10.0);
    msg<void>(background, sel<"setClipsToBounds:">(), true);
    artwork(content, {{20, 20}, {frame.size.width - 40, frame.size.width - 40}}, art);
    label(content, {{12, frame.size.width - 12}, {frame.size.width - 24, 24}}, title, 17, true, "#FFFFFF", 1);
    label(content, {{12, frame.size.width + 12}, {frame.size.width - 24, 18}}, "Updated Friday", 12, false, "#FFFFFF", 1);
    id play = make("_TtCC5Music15PersonalMixCellP33_C58AA72C234558D4D8BB9A14DBF342D610PlayButton",
                   {{frame.size.width - 64, frame.size.width - 64}, {36, 36}}, content, "UIButton");
    msg<void>(msg<id>(play, sel<"layer">()), sel<"setCornerRadius:">(), 18.0);
    msg<void>(play, sel<"setBackgroundColor:">(), msg<id>(reinterpret_cast<id>(objc_getClass("UIColor")), sel<"colorWithWhite:alpha:">(), 0.0, 0.35));
    msg<void>(play, sel<"setImage:forState:">(), namedImage("PersonalMixPlayGlyph"), 0UL);
}

// A wide promotional tile: its art, with the headline drawn over it by the text system.
void flowcase(id parent, CGRect frame, const char* art, const char* headline, const char* detail) {
    id cell = make("Music.FlowcaseCell", frame, parent, "UICollectionViewCell");
    setBackground(cell, "#FFFFFF");
    id content = msg<id>(cell, sel<"contentView">());
    label(content, {{0, 0}, {frame.size.width, 16}}, "NEW ALBUM", 11, true, "#8E8E93");
    label(content, {{0, 16}, {frame.size.width, 24}}, headline, 20, false, "#000000");
    id picture = make("UIImageView", {{0, 48}, {frame.size.width, frame.size.height - 48}}, content);
    msg<void>(picture, sel<"setImage:">(), artworkImage(art));
    msg<void>(picture, sel<"setContentMode:">(), 2L);
    msg<void>(picture, sel<"setClipsToBounds:">(), true);
    msg<void>(msg<id>(picture, sel<"layer">()), sel<"setCornerRadius:">(), 6.0);
    id text = make("_TtCV5Music4Text9StackView", {{16, frame.size.height - 110}, {frame.size.width - 32, 52}}, picture);
    id line = make("_TtCVV5Music4Text7Drawing4View", {{0, 0}, {frame.size.width - 32, 26}}, text);
    msg<void>(line, sel<"setTextColor:">(), hex("#FFFFFF"));
    msg<void>(line, sel<"setText:">(), static_cast<id>(objc::str(detail)));
}

}  // namespace

void buildForYou(id, id view) {
    setBackground(view, "#FFFFFF");
    largeTitle(view, "For You");
    id mixes = collection(view, {{0, 140}, {375, 300}}, {164, 208}, 15, 10);
    personalMix(mixes, {{16, 10}, {164, 208}}, "Artwork-FavouritesMix", "Artwork-EveningTides", "Favourites Mix");
    personalMix(mixes, {{195, 10}, {164, 208}}, "Artwork-NewMusicMix", "Artwork-PaperBoats", "New Music Mix");
    label(mixes, {{16, 228}, {343, 40}}, "Made for you, updated every week.", 13, false, "#8E8E93");

    sectionHeader(view, 440, "Recently Played");
    const char* art[] = {"Artwork-Lantern", "Artwork-LowTide", "Artwork-Harbour"};
    const char* titles[] = {"Lantern", "Low Tide", "Harbour Wall"};
    albumShelf(view, 476, art, titles, 3);
}

void buildBrowse(id, id view) {
    setBackground(view, "#FFFFFF");
    largeTitle(view, "Browse");
    // The page header: its context-actions button sits one view down in the header's content.
    id header = make("Music.PageHeaderContentView", {{0, 92}, {375, 44}}, view);
    id actions = make("UIView", {{323, 0}, {44, 44}}, header);
    id more = make("_TtCC5Music22JSDrivenViewControllerP33_7039E2436DE34332E50649067807721930PageHeaderContextActionsButton",
                   {{0, 0}, {44, 44}}, actions, "UIButton");
    msg<void>(more, sel<"setImage:forState:">(), msg<id>(namedImage("More"), sel<"imageWithRenderingMode:">(), 2L), 0UL);

    id page = make("Music.VerticalScrollStackScrollView", {{0, 140}, {375, 589}}, view, "UIScrollView");
    setBackground(page, "#FFFFFF");
    flowcase(page, {{16, 8}, {343, 290}}, "Artwork-Harbour", "Harbour Wall", "The Harbour Band return");

    label(page, {{16, 312}, {300, 28}}, "Hot Tracks", 22, true, "#000000");
    id accessory = make("Music.CollectionAccessoryView", {{347, 319}, {8, 13}}, page);
    id chevron = make("UIImageView", {{0, 0}, {8, 13}}, accessory);
    msg<void>(chevron, sel<"setImage:">(), msg<id>(namedImage("Chevron-Disclosure"), sel<"imageWithRenderingMode:">(), 2L));
    const char* art[] = {"Artwork-LowTide", "Artwork-NorthernLights", "Artwork-Lantern"};
    const char* titles[] = {"Low Tide", "Northern Lights", "Lantern"};
    albumShelf(page, 348, art, titles, 3);

    // The next section is still loading.
    id indicatorClass = reinterpret_cast<id>(objc_getClass("UIActivityIndicatorView"));
    id spinner = objc::autorelease(msg<id>(msg<id>(indicatorClass, sel<"alloc">()), sel<"initWithActivityIndicatorStyle:">(), 2L));
    msg<void>(spinner, sel<"setCenter:">(), CGPoint{187.5, 560});
    msg<void>(page, sel<"addSubview:">(), spinner);
    msg<void>(spinner, sel<"startAnimating">());
}

void buildRadio(id radio, id view) {
    setBackground(view, "#FFFFFF");
    largeTitle(view, "Radio");
    // The bar shows the station's mark in place of a title, a glyph in the bar's tint.
    id mark = make("UIImageView", {{0, 0}, {25, 25}}, nullptr);
    msg<void>(mark, sel<"setImage:">(), msg<id>(namedImage("Tab-Radio"), sel<"imageWithRenderingMode:">(), 2L));
    msg<void>(msg<id>(radio, sel<"navigationItem">()), sel<"setTitleView:">(), mark);
    id page = make("Music.VerticalScrollStackScrollView", {{0, 140}, {375, 589}}, view, "UIScrollView");
    setBackground(page, "#FFFFFF");
    label(page, {{16, 8}, {200, 16}}, "ON AIR NOW", 11, true, "#8E8E93");
    // The live badge: a ring drawn by the app's shape view.
    id live = make("_TtC5MusicP33_E266AE2617DB15E0278A9481B04FB1C59ShapeView", {{100, 9}, {12, 12}}, page);
    id ring = msg<id>(live, sel<"layer">());
    msg<void>(ring, sel<"setFillColor:">(), msg<CGColorRef>(hex("#FF2D55"), sel<"CGColor">()));
    msg<void>(ring, sel<"setStrokeColor:">(), msg<CGColorRef>(hex("#FFFFFF"), sel<"CGColor">()));
    msg<void>(ring, sel<"setLineWidth:">(), 2.0);
    label(page, {{16, 26}, {343, 26}}, "Harbour Radio", 22, false, "#000000");
    artwork(page, {{16, 60}, {343, 200}}, "Artwork-NorthernLights", 6);

    label(page, {{16, 276}, {343, 28}}, "Stations by Genre", 22, true, "#000000");
    const char* stations[] = {"Alternative", "Chill", "Pop", "Jazz"};
    const char* art[] = {"Artwork-EveningTides", "Artwork-LowTide", "Artwork-PaperBoats", "Artwork-Lantern"};
    for (int i = 0; i < 4; ++i) {
        double y = 312 + i * 64.0;
        artwork(page, {{16, y + 6}, {52, 52}}, art[i]);
        label(page, {{84, y}, {250, 64}}, stations[i], 17, false, "#000000");
        separatorLine(page, {{84, y + 63.5}, {291, 0.5}});
    }
}

void buildVideos(id, id view) {
    setBackground(view, "#FFFFFF");
    largeTitle(view, "Music Videos");
    id grid = collection(view, {{0, 140}, {375, 589}}, {164, 150}, 15, 8);
    const char* art[] = {"Artwork-Harbour", "Artwork-LowTide", "Artwork-Lantern", "Artwork-PaperBoats"};
    const char* titles[] = {"Harbour Wall (Live)", "Low Tide", "Lantern", "Paper Boats"};
    for (int i = 0; i < 4; ++i) {
        CGRect frame{{16.0 + (i % 2) * 179, 8.0 + (i / 2) * 160}, {164, 150}};
        id cell = make("Music.MusicVideoVerticalCell", frame, grid, "UICollectionViewCell");
        setBackground(cell, "#FFFFFF");
        id content = msg<id>(cell, sel<"contentView">());
        // Video stills are wider than tall; the artwork view fills its frame with the still.
        id still = artwork(content, {{0, 0}, {164, 92}}, art[i], 0);
        msg<void>(still, sel<"setContentMode:">(), 2L);
        msg<void>(still, sel<"setClipsToBounds:">(), true);
        msg<void>(msg<id>(still, sel<"layer">()), sel<"setCornerRadius:">(), 6.0);
        label(content, {{0, 98}, {164, 18}}, titles[i], 13, false, "#000000");
        label(content, {{0, 116}, {164, 18}}, "The Harbour Band", 13, false, "#8E8E93");
    }
}

void buildConnect(id, id view) {
    setBackground(view, "#FFFFFF");

    id page = make("Music.VerticalScrollStackScrollView", {{0, 88}, {375, 724}}, view, "UIScrollView");
    setBackground(page, "#FFFFFF");
    id coldStart = make("Music.ConnectColdStartView", {{0, 0}, {375, 96}}, page);
    setBackground(coldStart, "#F0F0F7");
    label(coldStart, {{16, 16}, {343, 24}}, "Follow artists you love", 17, true, "#000000", 1);
    label(coldStart, {{16, 44}, {343, 36}}, "See what they share, right here.", 15, false, "#8E8E93", 1);

    label(page, {{72, 112}, {280, 20}}, "The Harbour Band", 15, true, "#000000");
    label(page, {{72, 132}, {280, 18}}, "2 days ago", 13, false, "#8E8E93");
    artwork(page, {{16, 110}, {44, 44}}, "Artwork-Harbour", 0);
    id paragraph = make("Music.ParagraphView", {{16, 162}, {343, 48}}, page);
    setBackground(paragraph, "#FFFFFF");
    label(paragraph, {{0, 0}, {343, 48}}, "Back in the studio this week. New songs soon!", 15, false, "#000000");
    id media = make("Music.ConnectMediaView", {{16, 216}, {343, 220}}, page);
    setBackground(media, "#FFFFFF");
    artwork(media, {{0, 0}, {343, 220}}, "Artwork-Lantern", 6);

    id comments = make("Music.ConnectCommentPostBar", {{0, 448}, {375, 52}}, page);
    setBackground(comments, "#FFFFFF");
    separatorLine(comments, {{0, 0}, {375, 0.5}});
    id field = make("UITextField", {{16, 8}, {300, 36}}, comments);
    setBackground(field, "#F0F0F7");
    msg<void>(msg<id>(field, sel<"layer">()), sel<"setCornerRadius:">(), 18.0);
    msg<void>(field, sel<"setPlaceholder:">(), static_cast<id>(objc::str("Add a comment")));
    imageButton(comments, {{327, 10}, {32, 32}}, "Love");

    id informative = make("Music.InformativeView", {{0, 512}, {375, 80}}, page);
    setBackground(informative, "#FFFFFF");
    label(informative, {{16, 0}, {343, 80}}, "You're all caught up.", 15, false, "#8E8E93", 1);
}

void buildRefresh(id, id view) {
    setBackground(view, "#FFFFFF");
    largeTitle(view, "Recently Added");
    const char* rows[] = {"Harbour Lights", "Slow Current", "Paper Boats", "Lantern", "Low Tide", "Harbour Wall"};
    id list = table(view, {{0, 140}, {375, 589}}, rows, 6, true);
    // Pulled down: the refresh control spins above the rows, in the app's tint.
    id refreshClass = reinterpret_cast<id>(objc_getClass("UIRefreshControl"));
    id refresh = objc::autorelease(msg<id>(msg<id>(refreshClass, sel<"alloc">()), sel<"init">()));
    msg<void>(refresh, sel<"setTintColor:">(), hex("#8E8E93"));
    msg<void>(list, sel<"addSubview:">(), refresh);
    msg<void>(list, sel<"setContentOffset:">(), CGPoint{0, -60});
    msg<void>(refresh, sel<"setFrame:">(), CGRect{{0, -60}, {375, 60}});
    msg<void>(refresh, sel<"beginRefreshing">());
}

}  // namespace music::screens
