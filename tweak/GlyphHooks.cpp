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

// The glyph of `key` from the resource folder, tinted and drawn on a darker square.
id composePlaceholder(id key) {
    id path = objc::format("%s%@.png", kResourceFolder, key);
    id glyph = msg<id>(objc_getClass("UIImage"), sel<"imageWithContentsOfFile:">(), path);
    id tinted = imageWithTint(glyph, tintColor);
    id background = imageWithColorAndBounds(darkerBgColor, CGRectMake(0, 0, kCanvas, kCanvas));
    UIGraphicsBeginImageContext(CGSizeMake(kCanvas, kCanvas));
    CGSize backgroundSize = msg<CGSize>(background, sel<"size">());
    msg<void>(background, sel<"drawInRect:">(), CGRectMake(0, 0, kCanvas, backgroundSize.height));
    msg<void>(tinted, sel<"drawInRect:">(), kGlyphBox);
    id composed = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return composed;
}

}  // namespace

id decideNamedImage(id name, id loaded) {
    if (!enabled) return loaded;
    std::string text = objc::utf8(name);
    if (name) {
        if (text == "NowPlaying-Scrubber-Live") return loaded;
        if (colorFlowMusicEnabled)
            for (std::string_view glyph : kColorFlowGlyphs)
                if (text == glyph) return loaded;
        if (containsAny(text, kPlaceholderMarks)) {
            if (!useDarkPlaceholder) return loaded;
            id key = text.find("MissingArtworkMusicNote") != std::string::npos ? NSSTR("MissingArtworkMusicNote") : name;
            return glyphImage(key, composePlaceholder);
        }
        if (containsAny(text, kUntintedMarks)) return loaded;
    }
    return imageWithTint(loaded, tintColor);
}

bool buttonKeepsImage(id button) {
    if (colorFlowMusicEnabled && responderOwnerIs(button, "MusicNowPlayingControlsViewController")) return true;
    if (classes::keyboardDockItemButton.isKindOf(button)) return true;
    if (classes::personalMixPlayButton.isKindOf(button)) return true;
    if (classNameIs(button, "Music.NowPlayingTransportButton")) return true;
    id outer = superview(superview(button));
    if (classNameIs(outer, "Music.PageHeaderContentView")) return true;
    return classes::routeButton.isKindOf(button);
}

}  // namespace obscuro
