// Named images by the rules of their names, placeholder composition, and the buttons that keep their images.
#include "GlyphHooks.h"

#include "ClassTests.h"
#include "GlyphImageCache.h"
#include "RememberedClasses.h"
#include "ViewQueries.h"
#include "UIColor+Tarnwick.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIKit.h>

#include <array>
#include <string>

namespace obscuro {

namespace {

constexpr const char* kResourceFolder = "/Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle/";

// Glyphs of the now-playing screen that ColorFlow colours itself.
constexpr std::array<std::string_view, 8> kColorFlowGlyphs = {
    "NowPlaying-Transport-Previous", "NowPlaying-Transport-Play", "NowPlaying-Transport-Pause", "NowPlaying-AirPlay",
    "NowPlaying-Volume-Min",         "NowPlaying-Volume-Max",     "NowPlaying-Transport-Next",  "UniversalAddControlAdd",
};

constexpr std::array<std::string_view, 3> kPlaceholderMarks = {"PlaylistSmartIcon", "MissingArtworkMusicNote", "PlaylistAddIcon"};
constexpr std::array<std::string_view, 2> kUntintedMarks = {"PersonalMixPlayGlyph", "luminanceColorMap"};

constexpr CGFloat kCanvas = 630;
constexpr CGRect kGlyphBox = {{120, 120}, {400, 400}};

bool containsAny(std::string_view name, std::span<const std::string_view> marks) {
    for (std::string_view mark : marks)
        if (name.find(mark) != std::string_view::npos) return true;
    return false;
}

// Set by a composition on the thread that made it, so that the request tells a composed
// placeholder from a cached one.
thread_local bool composedForThisRequest = false;

// The glyph of `key` from the resource folder, tinted and drawn on a darker square. Runs on
// the thread of the request, inside the request's ThemeReading.
id composePlaceholder(id key) {
    composedForThisRequest = true;
    ThemeReading reading;
    id path = objc::format("%s%@.png", kResourceFolder, key);
    id glyph = msg<id>(objc_getClass("UIImage"), sel<"imageWithContentsOfFile:">(), path);
    id tinted = imageWithTint(glyph, reading.colour(tintColor));
    id background = imageWithColorAndBounds(reading.colour(darkerBgColor), CGRectMake(0, 0, kCanvas, kCanvas));
    UIGraphicsBeginImageContext(CGSizeMake(kCanvas, kCanvas));
    CGSize backgroundSize = msg<CGSize>(background, sel<"size">());
    msg<void>(background, sel<"drawInRect:">(), CGRectMake(0, 0, kCanvas, backgroundSize.height));
    msg<void>(tinted, sel<"drawInRect:">(), kGlyphBox);
    id composed = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return composed;
}

}  // namespace

// Named images load on any thread: ThemeState is read through a ThemeReading.
Decided<id> decideNamedImage(id name, id loaded) {
    ThemeReading reading;
    if (!reading.flag(enabled)) return {2, loaded};
    std::string text = objc::utf8(name);
    if (name) {
        if (text == "NowPlaying-Scrubber-Live") return {3, loaded};
        if (reading.flag(colorFlowMusicEnabled))
            for (std::string_view glyph : kColorFlowGlyphs)
                if (text == glyph) return {4, loaded};
        if (containsAny(text, kPlaceholderMarks)) {
            if (!reading.flag(useDarkPlaceholder)) return {{5, 1}, loaded};
            id key = text.find("MissingArtworkMusicNote") != std::string::npos ? NSSTR("MissingArtworkMusicNote") : name;  // 5.2
            composedForThisRequest = false;
            id placeholder = glyphImage(key, composePlaceholder);
            return {composedForThisRequest ? Step{5, 4} : Step{5, 3}, placeholder};
        }
        if (containsAny(text, kUntintedMarks)) return {6, loaded};
    }
    return {7, imageWithTint(loaded, reading.colour(tintColor))};
}

Decided<bool> decideButtonKeepsImage(id button, id image) {
    if (!image || !enabled) return {1, true};
    if (colorFlowMusicEnabled && responderOwnerIs(button, "MusicNowPlayingControlsViewController")) return {2, true};
    if (classes::keyboardDockItemButton.isKindOf(button)) return {3, true};
    if (classes::personalMixPlayButton.isKindOf(button)) return {4, true};
    if (classNameIs(button, "Music.NowPlayingTransportButton")) return {5, true};
    if (classNameIs(superview(superview(button)), "Music.PageHeaderContentView")) return {6, true};
    if (classes::routeButton.isKindOf(button)) return {7, true};
    return {8, false};
}

}  // namespace obscuro
