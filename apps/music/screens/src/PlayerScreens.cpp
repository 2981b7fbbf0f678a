// The player side of the app: Now Playing, the mini player above the tab bar, Lyrics and Up Next.
#include "Screens.h"

#include "ScreenParts.h"

#include <Foundation/NSString.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <objc/runtime.h>

namespace music::screens {

namespace {

void separator(id parent, CGRect frame) {
    id line = make("UIView", frame, parent);
    setBackground(line, "#C7C7CC");
}

void track(id parent, CGRect frame) {
    id bar = make("UIView", frame, parent);
    setBackground(bar, "#D8D8D8");
    msg<void>(msg<id>(bar, sel<"layer">()), sel<"setCornerRadius:">(), frame.size.height / 2);
    // The app lays its tracks over the blurred art with the plus-darker filter.
    msg<void>(msg<id>(bar, sel<"layer">()), sel<"setCompositingFilter:">(), static_cast<id>(objc::str("plusD")));
}

}  // namespace

void buildNowPlaying(id, id view) {
    setBackground(view, "#FFFFFF");
    id content = make("Music.NowPlayingContentView", {{0, 0}, {375, 812}}, view);
    make("Music.NowPlayingCollectionViewSecondaryBackground", {{0, 0}, {375, 812}}, content);
    id grabber = make("UIView", {{169, 14}, {37, 5}}, content);
    setBackground(grabber, "#C7C7CC");
    msg<void>(msg<id>(grabber, sel<"layer">()), sel<"setCornerRadius:">(), 2.5);

    id shadow = make("UIView", {{35, 68}, {305, 305}}, content);
    setBackground(shadow, "#000000");
    msg<void>(shadow, sel<"setAlpha:">(), 0.12);
    msg<void>(msg<id>(shadow, sel<"layer">()), sel<"setCornerRadius:">(), 8.0);
    artwork(content, {{35, 60}, {305, 305}}, "Artwork-NorthernLights", 8);

    id time = make("Music.PlayerTimeControl", {{35, 400}, {305, 40}}, content, "UIControl");
    track(time, {{0, 8}, {305, 3}});
    glyph(time, {{100, 0}, {20, 20}}, "NowPlaying-Scrubber-Live");
    label(time, {{0, 18}, {60, 16}}, "1:12", 12, false, "#8E8E93", 0);
    label(time, {{245, 18}, {60, 16}}, "-2:31", 12, false, "#8E8E93", 2);

    label(content, {{35, 450}, {305, 28}}, "Harbour Lights", 22, true, "#000000", 1);
    label(content, {{35, 480}, {305, 26}}, "The Harbour Band", 22, false, "#FF2D55", 1);

    const char* transport[] = {"NowPlaying-Transport-Previous", "NowPlaying-Transport-Pause", "NowPlaying-Transport-Next"};
    for (int i = 0; i < 3; ++i) imageButton(content, {{67.0 + i * 90, 540}, {60, 60}}, transport[i], "Music.NowPlayingTransportButton");

    glyph(content, {{35, 640}, {16, 16}}, "NowPlaying-Volume-Min");
    track(content, {{60, 646}, {255, 4}});
    glyph(content, {{324, 640}, {16, 16}}, "NowPlaying-Volume-Max");

    id queue = make("Music.NowPlayingQueueControlsView", {{35, 700}, {305, 44}}, content);
    imageButton(queue, {{0, 0}, {44, 44}}, "More");
    imageButton(queue, {{130, 0}, {44, 44}}, "NowPlaying-AirPlay");
    imageButton(queue, {{261, 0}, {44, 44}}, "UniversalAddControlAdd");
}

void buildMiniPlayer(id, id miniView) {
    setBackground(miniView, "#F9F9FE");
    separator(miniView, {{0, 0}, {375, 0.5}});
    artwork(miniView, {{20, 8}, {48, 48}}, "Artwork-EveningTides");
    label(miniView, {{84, 0}, {180, 64}}, "Harbour Lights", 17, false, "#000000");
    imageButton(miniView, {{279, 10}, {44, 44}}, "NowPlaying-Transport-Play", "Music.NowPlayingTransportButton");
    imageButton(miniView, {{323, 10}, {44, 44}}, "NowPlaying-Transport-Next", "Music.NowPlayingTransportButton");
}

void buildLyrics(id, id view) {
    setBackground(view, "#FFFFFF");
    label(view, {{20, 50}, {335, 30}}, "Lyrics", 28, true, "#000000");
    // Each line is a drawing view of the app's text system, stacked by its stack view.
    id stack = make("_TtCV5Music4Text9StackView", {{20, 100}, {335, 600}}, view);
    const char* lines[] = {"Down where the harbour lights", "are burning low,", "paper boats are sailing slow", "",
                           "and every lantern on the water", "knows the way back home", "",
                           "Low tide, low tide,", "carry me to the other side"};
    id font = msg<id>(reinterpret_cast<id>(objc_getClass("UIFont")), sel<"boldSystemFontOfSize:">(), 22.0);
    for (int i = 0; i < 9; ++i) {
        id line = make("_TtCVV5Music4Text7Drawing4View", {{0, 0}, {335, lines[i][0] ? 34.0 : 18.0}}, stack);
        msg<void>(line, sel<"setFont:">(), font);
        msg<void>(line, sel<"setTextColor:">(), hex(i < 3 ? "#000000" : "#8E8E93"));
        msg<void>(line, sel<"setText:">(), static_cast<id>(objc::str(lines[i])));
    }
}

void buildUpNext(id, id view) {
    setBackground(view, "#FFFFFF");
    id content = make("Music.NowPlayingContentView", {{0, 0}, {375, 812}}, view);
    make("Music.NowPlayingCollectionViewSecondaryBackground", {{0, 0}, {375, 812}}, content);
    artwork(content, {{20, 50}, {64, 64}}, "Artwork-NorthernLights");
    label(content, {{100, 58}, {255, 24}}, "Harbour Lights", 17, true, "#000000");
    label(content, {{100, 82}, {255, 22}}, "The Harbour Band", 17, false, "#FF2D55");

    // Shuffle is on, repeat is off: the selected toggle shows a lighter stretched background.
    id controls = make("Music.NowPlayingQueueControlsView", {{20, 130}, {335, 44}}, content);
    label(controls, {{0, 0}, {180, 44}}, "Up Next", 20, true, "#000000");
    const char* toggles[] = {"NowPlaying-Shuffle", "NowPlaying-Repeat"};
    for (int i = 0; i < 2; ++i) {
        id toggle = make("UIButton", {{239.0 + i * 52, 6}, {44, 32}}, controls);
        msg<void>(toggle, sel<"setSelected:">(), i == 0);
        id background = make("UIImageView", {{0, 0}, {44, 32}}, toggle);
        msg<void>(background, sel<"setImage:">(), resizable(toggles[i]));
        msg<void>(toggle, sel<"setImage:forState:">(), namedImage(toggles[i]), 0UL);
    }

    struct Song {
        const char* art;
        const char* title;
    };
    const Song queue[] = {{"Artwork-EveningTides", "Slow Current"}, {"Artwork-PaperBoats", "Paper Boats"},
                          {"Artwork-Lantern", "Lantern"},           {"Artwork-LowTide", "Low Tide"},
                          {"Artwork-Harbour", "Harbour Wall"},      {"MissingArtworkMusicNote", "Demo (unreleased)"}};
    for (int i = 0; i < 6; ++i) {
        double y = 186 + i * 64.0;
        artwork(content, {{20, y + 6}, {52, 52}}, queue[i].art);
        label(content, {{88, y}, {230, 64}}, queue[i].title, 17, false, "#000000");
        separatorLine(content, {{88, y + 63.5}, {287, 0.5}});
    }
    track(content, {{20, 600}, {335, 3}});
}

}  // namespace music::screens
