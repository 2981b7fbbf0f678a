// The Music screens' layout adjustments: hidden decorations, theme-coloured layers and the marker tags.
#include "LayoutHooks.h"

#include "ClassTests.h"
#include "MarkerTags.h"
#include "RememberedClasses.h"
#include "UIColor+Tarnwick.h"
#include "UIImage+Color.h"
#include "ViewQueries.h"

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>

namespace obscuro {

namespace {

void setBackground(id view, id colour) { msg<void>(view, sel<"setBackgroundColor:">(), colour); }
void setTag(id view, long tag) { msg<void>(view, sel<"setTag:">(), tag); }
CGColorRef cgColor(id colour) { return msg<CGColorRef>(colour, sel<"CGColor">()); }

}  // namespace

void hideSelf(id view) { msg<void>(view, sel<"setHidden:">(), true); }

void hideTextStackInImageView(id stack) {
    if (classNameIs(superview(stack), "UIImageView")) hideSelf(stack);
}

void borderSubtitledButton(id button) {
    msg<void>(msg<id>(button, sel<"layer">()), sel<"setBorderColor:">(), cgColor(darkerBgColor));
}

void paintTabBarBackground(id background) {
    if (isKind(superview(background), "UITabBar")) setBackground(background, barColor);
}

// Stored straight into the instance variable, bypassing any setter, as a strong reference.
void fillCircleView(id circle) {
    Ivar fill = class_getInstanceVariable(object_getClass(circle), "fillColor");
    if (!fill) return;
    id colour = objc_retain(lighterColor(darkerBgColor));
    id previous = object_getIvar(circle, fill);
    object_setIvar(circle, fill, colour);
    objc_release(previous);
}

void colourShapeView(id shape) {
    id layer = msg<id>(shape, sel<"layer">());
    msg<void>(layer, sel<"setStrokeColor:">(), cgColor(tintColor));
    if (msg<CGColorRef>(layer, sel<"fillColor">())) msg<void>(layer, sel<"setFillColor:">(), cgColor(lighterColor(darkerBgColor)));
}

void hideOnboardingBackdrop(id controller) { hideSelf(msg<id>(controller, sel<"backdropView">())); }

void tagMiniPlayer(id controller) {
    id view = viewOf(controller);
    setTag(view, tags::kMiniPlayer);
    setBackground(superview(view), darkerBgColor);
    if (!colorFlowMusicEnabled) setBackground(view, darkerBgColor);
}

void releaseMiniPlayerTag(id controller) {
    id view = viewOf(controller);
    if (msg<id>(view, sel<"backgroundColor">())) return;
    setBackground(view, darkerBgColor);
    setTag(view, 0);
}

void darkenLyricsScreen(id controller) {
    if (id parentView = viewOf(msg<id>(controller, sel<"parentViewController">()))) setBackground(parentView, bgColor);
    forEachSubview(viewOf(controller), [](id subview) {
        if (classes::visualEffectView.isKindOf(subview)) hideSelf(subview);
    });
}

void tintPlayIntentButton(id controls) {
    id imageView = msg<id>(msg<id>(controls, sel<"accessibilityPlayButton">()), sel<"imageView">());
    id image = msg<id>(imageView, sel<"image">());
    msg<void>(imageView, sel<"setImage:">(), imageWithTint(image, tintColor));
}

void tagArtworkImageView(id subview) {
    if (isKind(subview, "UIImageView")) setTag(subview, tags::kArtworkImage);
}

void hideArtworkShadow(id content) {
    if (displayArtworkShadow) return;
    forEachSubview(content, [](id subview) {
        if (isKind(subview, "UIImageView") && msg<CGRect>(subview, sel<"frame">()).origin.x < 0) hideSelf(subview);
    });
}

// Tagged before it is painted, so that the background procedure keeps this colour.
void adoptNavigationBarBackgrounds(id header) {
    forEachSubview(header, [header](id subview) {
        if (!classNameIs(subview, "Music.NavigationBarBackgroundView")) return;
        hideSelf(subview);
        setTag(header, tags::kTitleHeader);
        setBackground(header, bgColor);
    });
}

bool keepLocalControlKeepsTint(id control) {
    return colorFlowMusicEnabled && responderOwnerIs(control, "MusicNowPlayingControlsViewController");
}

void paintKeepLocalBackground(id control) {
    id first = msg<id>(msg<id>(control, sel<"subviews">()), sel<"firstObject">());
    if (first && msg<CGRect>(first, sel<"frame">()).size.width > 50.0) setBackground(first, darkerBgColor);
}

void paintActionSeparators(id stack) {
    forEachSubview(stack, [](id subview) {
        if (classes::actionItemSeparatorView.isKindOf(subview)) setBackground(subview, lighterColor(bgColor));
    });
}

void paintWithLightGray(id view) { setBackground(view, msg<id>(objc_getClass("UIColor"), sel<"lightGrayColor">())); }

void paintWithBackground(id view) { setBackground(view, bgColor); }

// Painted before tagging: on the first pass an untagged blur subview is made half black.
void paintNavigationBarBackground(id background) {
    setBackground(background, bgColor);
    forEachSubview(background, [](id subview) {
        if (classes::visualEffectSubview.isKindOf(subview)) setBackground(subview, bgColor);
        setTag(subview, tags::kNavigationBarBackground);
    });
}

}  // namespace obscuro
