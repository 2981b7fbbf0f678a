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

Decided<bool> hideSelf(id view) {
    msg<void>(view, sel<"setHidden:">(), true);
    return {kRuleApplied, true};
}

Decided<bool> hideTextStackInImageView(id stack) {
    if (classNameIs(superview(stack), "UIImageView")) return hideSelf(stack);
    return passedThrough<bool>();
}

Decided<id> borderSubtitledButton(id button) {
    msg<void>(msg<id>(button, sel<"layer">()), sel<"setBorderColor:">(), cgColor(darkerBgColor));
    return {kRuleApplied, darkerBgColor};
}

Decided<id> paintTabBarBackground(id background) {
    if (!isKind(superview(background), "UITabBar")) return passedThrough<id>();
    setBackground(background, barColor);
    return {kRuleApplied, barColor};
}

// Stored straight into the instance variable, bypassing any setter, as a strong reference.
Decided<id> fillCircleView(id circle) {
    Ivar fill = class_getInstanceVariable(object_getClass(circle), "fillColor");
    if (!fill) return passedThrough<id>();
    id colour = objc_retain(lighterColor(darkerBgColor));
    id previous = object_getIvar(circle, fill);
    object_setIvar(circle, fill, colour);
    objc_release(previous);
    return {kRuleApplied, colour};
}

// The stroke is what decides the shape's look; the fill follows only where the layer has one.
Decided<id> colourShapeView(id shape) {
    id layer = msg<id>(shape, sel<"layer">());
    msg<void>(layer, sel<"setStrokeColor:">(), cgColor(tintColor));
    if (msg<CGColorRef>(layer, sel<"fillColor">())) msg<void>(layer, sel<"setFillColor:">(), cgColor(lighterColor(darkerBgColor)));
    return {kRuleApplied, tintColor};
}

Decided<bool> hideOnboardingBackdrop(id controller) { return hideSelf(msg<id>(controller, sel<"backdropView">())); }

Decided<id> tagMiniPlayer(id controller) {
    id view = viewOf(controller);
    setTag(view, tags::kMiniPlayer);
    setBackground(superview(view), darkerBgColor);
    if (!colorFlowMusicEnabled) setBackground(view, darkerBgColor);
    return {kRuleApplied, darkerBgColor};
}

Decided<id> releaseMiniPlayerTag(id controller) {
    id view = viewOf(controller);
    if (msg<id>(view, sel<"backgroundColor">())) return passedThrough<id>();
    setBackground(view, darkerBgColor);
    setTag(view, 0);
    return {kRuleApplied, darkerBgColor};
}

Decided<id> darkenLyricsScreen(id controller) {
    id parentView = viewOf(msg<id>(controller, sel<"parentViewController">()));
    if (parentView) setBackground(parentView, bgColor);
    forEachSubview(viewOf(controller), [](id subview) {
        if (classes::visualEffectView.isKindOf(subview)) hideSelf(subview);
    });
    return {kRuleApplied, parentView ? bgColor : nullptr};
}

Decided<id> tintPlayIntentButton(id controls) {
    id imageView = msg<id>(msg<id>(controls, sel<"accessibilityPlayButton">()), sel<"imageView">());
    id image = msg<id>(imageView, sel<"image">());
    id tinted = imageWithTint(image, tintColor);
    msg<void>(imageView, sel<"setImage:">(), tinted);
    return {kRuleApplied, tinted};
}

Decided<bool> tagArtworkImageView(id subview) {
    if (!isKind(subview, "UIImageView")) return passedThrough<bool>();
    setTag(subview, tags::kArtworkImage);
    return {kRuleApplied, true};
}

// The outcome is how many shadow images were hidden.
Decided<unsigned long> hideArtworkShadow(id content) {
    if (displayArtworkShadow) return passedThrough<unsigned long>();
    unsigned long hidden = 0;
    forEachSubview(content, [&hidden](id subview) {
        if (isKind(subview, "UIImageView") && msg<CGRect>(subview, sel<"frame">()).origin.x < 0) hidden += hideSelf(subview).outcome;
    });
    return {kRuleApplied, hidden};
}

// Tagged before it is painted, so that the background procedure keeps this colour.
Decided<id> adoptNavigationBarBackgrounds(id header) {
    bool adopted = false;
    forEachSubview(header, [header, &adopted](id subview) {
        if (!classNameIs(subview, "Music.NavigationBarBackgroundView")) return;
        hideSelf(subview);
        setTag(header, tags::kTitleHeader);
        setBackground(header, bgColor);
        adopted = true;
    });
    if (!adopted) return passedThrough<id>();
    return {kRuleApplied, bgColor};
}

Decided<bool> decideKeepLocalControlKeepsTint(id control) {
    if (colorFlowMusicEnabled && responderOwnerIs(control, "MusicNowPlayingControlsViewController")) return {kPassedThrough, true};
    return {kRuleApplied, false};
}

Decided<id> paintKeepLocalBackground(id control) {
    id first = msg<id>(msg<id>(control, sel<"subviews">()), sel<"firstObject">());
    if (!first || msg<CGRect>(first, sel<"frame">()).size.width <= 50.0) return passedThrough<id>();
    setBackground(first, darkerBgColor);
    return {kRuleApplied, darkerBgColor};
}

// The outcome is the colour the last separator was given; each gets a colour of its own.
Decided<id> paintActionSeparators(id stack) {
    Decided<id> painted = passedThrough<id>();
    forEachSubview(stack, [&painted](id subview) {
        if (!classes::actionItemSeparatorView.isKindOf(subview)) return;
        painted = {kRuleApplied, lighterColor(bgColor)};
        setBackground(subview, painted.outcome);
    });
    return painted;
}

Decided<id> paintWithLightGray(id view) {
    id gray = msg<id>(objc_getClass("UIColor"), sel<"lightGrayColor">());
    setBackground(view, gray);
    return {kRuleApplied, gray};
}

Decided<id> paintWithBackground(id view) {
    setBackground(view, bgColor);
    return {kRuleApplied, bgColor};
}

// Painted before tagging: on the first pass an untagged blur subview is made half black.
Decided<id> paintNavigationBarBackground(id background) {
    setBackground(background, bgColor);
    forEachSubview(background, [](id subview) {
        if (classes::visualEffectSubview.isKindOf(subview)) setBackground(subview, bgColor);
        setTag(subview, tags::kNavigationBarBackground);
    });
    return {kRuleApplied, bgColor};
}

}  // namespace obscuro
