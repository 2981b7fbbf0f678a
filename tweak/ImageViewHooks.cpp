// The image-view decisions: the tint an image view reports, and what an assigned image becomes.
#include "ImageViewHooks.h"

#include "ClassTests.h"
#include "MarkerTags.h"
#include "RememberedClasses.h"
#include "ThemeState.h"
#include "UIColor+Tarnwick.h"
#include "ViewQueries.h"

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/Foundation.h>

namespace obscuro {

namespace {

constexpr unsigned long kSelectedState = 4;

bool isSquare(CGSize size, double side) { return size.width == side && size.height == size.width; }

bool nowPlayingControlsWithColorFlow(id view) {
    return colorFlowMusicEnabled && responderOwnerIs(view, "MusicNowPlayingControlsViewController");
}

// An image view anywhere inside an artwork view: its resizable images are artwork frames.
bool insideArtworkView(id view) {
    for (id ancestor = superview(view); ancestor; ancestor = superview(ancestor))
        if (classes::artworkComponentImageView.isKindOf(ancestor)) return true;
    return false;
}

ImageAssignment passThrough(Step step) { return {step, false, nullptr, false}; }
ImageAssignment tintAndTemplate(Step step, id tint) { return {step, true, tint, true}; }

}  // namespace

Decided<id> decideImageViewTint(id imageView, id reported) {
    if (!enabled) return {2, reported};
    if (!reported) return {3, nullptr};
    if (nowPlayingControlsWithColorFlow(imageView)) return {4, reported};
    id parent = superview(imageView);
    if (classes::pageHeaderContextActionsButton.isKindOf(parent)) return {5, tintColor};
    if (classNameIs(parent, "Music.CollectionAccessoryView")) return {6, tintColor};
    if (classes::modernBarButton.isKindOf(parent)) return {7, tintColor};
    if (hexIs(reported, "#FF2D55")) return {8, tintColor};
    if (hexIs(reported, "#E5E5EA")) return {9, tintColor};
    return {10, reported};
}

ImageAssignment decideImageAssignment(id view, id image) {
    if (!image || !enabled) return passThrough(1);
    if (nowPlayingControlsWithColorFlow(view)) return passThrough(2);
    if (classes::keyboardDockItemButton.isKindOf(superview(view))) return passThrough(3);
    if (tagOf(view) == tags::kArtworkImage) return tintAndTemplate(4, bgColor);

    CGSize size = msg<CGSize>(image, sel<"size">());
    if (classes::resizableImage.isKindOf(image)) {
        if (isSquare(size, 17)) {
            id button = superview(view);
            bool selectedQueueControl = isKind(button, "UIButton") &&
                                        msg<unsigned long>(button, sel<"state">()) == kSelectedState &&
                                        classNameIs(superview(button), "Music.NowPlayingQueueControlsView");
            return tintAndTemplate({5, 1}, selectedQueueControl ? lighterColor(lighterColor(darkerBgColor)) : darkerBgColor);
        }
        if (isSquare(size, 9)) return tintAndTemplate({5, 2}, darkerBgColor);
        if (classes::socialRelationshipButton.isKindOf(superview(view))) return tintAndTemplate({5, 3}, darkerBgColor);
        // Where the rest would pass through: artwork frames nested deeper than the tagged
        // image views of step 4 take their colour.
        if (insideArtworkView(view)) return tintAndTemplate({5, 4}, bgColor);
        return passThrough({5, 4});
    }

    if (size.width > 100 && size.height > 100 && size.width != size.height &&
        responderOwnerIs(view, "Music.JSPersonalMixesViewController"))
        return tintAndTemplate({6, 1}, darkerBgColor);
    if (isSquare(size, 105)) return tintAndTemplate({6, 2}, bgColor);
    if (isSquare(size, 22)) return {{6, 3}, true, nullptr, false};
    if (id button = superview(view); classes::personalMixPlayButton.isKindOf(button)) {
        msg<void>(button, sel<"setBackgroundColor:">(), bgColor);
        return passThrough({6, 4});
    }
    if (classNameIs(superview(view), "Music.NowPlayingTransportButton")) {
        if (!colorFlowMusicEnabled) return tintAndTemplate({6, 5}, tintColor);
        id black = msg<id>(objc_getClass("UIColor"), sel<"blackColor">());
        bool reportsBlack = msg<BOOL>(msg<id>(view, sel<"tintColor">()), sel<"isEqual:">(), black);
        return tintAndTemplate({6, 5}, reportsBlack ? tintColor : nullptr);
    }
    return passThrough({6, 6});
}

}  // namespace obscuro
