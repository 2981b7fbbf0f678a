// The marker tags: values of a view's `tag` by which one replacement leaves a decision for another.
#pragma once

namespace obscuro::tags {

// Written by the Music.NavigationBarBackgroundView layout (LayoutHooks) on every direct subview,
// at each pass, after painting it. Read by the background decision: a _UIVisualEffectSubview
// carrying it is judged by its colour instead of being made half black.
constexpr long kNavigationBarBackground = 6378;

// Written by the Music.TitleSectionHeaderView layout (LayoutHooks) on a header that holds a
// navigation bar background, before painting it. Read by the background decision: the view
// keeps the colour it is given.
constexpr long kTitleHeader = 6379;

// Written by the Music.MiniPlayerViewController's viewDidLoad (LayoutHooks) on its view, and
// set back to 0 by its willMoveToParentViewController: once ColorFlow's colour may take over.
// Read by the background decision: the view gets darkerBgColor whatever it is given.
constexpr long kMiniPlayer = 6380;

// Written by Music.ArtworkComponentImageView's addSubview: (LayoutHooks) on every image view
// added to it. Read by the image assignment (ImageViewHooks): the image becomes a template in bgColor.
constexpr long kArtworkImage = 8458;

}  // namespace obscuro::tags
