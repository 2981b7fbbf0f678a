// Replacements around the layout and loading of the Music app's screens; they hide, recolour and tag views.
#pragma once

#include "HookTable.h"
#include "ThemeState.h"

namespace obscuro {

// What a replacement does to its receiver after (or before) calling through, while enabled.
void hideTextStackInImageView(id stack);
void borderSubtitledButton(id button);
void paintTabBarBackground(id background);
void fillCircleView(id circle);
void colourShapeView(id shape);
void tagMiniPlayer(id controller);
void hideSelf(id view);
void tintPlayIntentButton(id controls);
void hideArtworkShadow(id content);
void adoptNavigationBarBackgrounds(id header);
void paintKeepLocalBackground(id control);
void paintActionSeparators(id stack);
void paintWithLightGray(id view);
void paintWithBackground(id view);
void paintNavigationBarBackground(id background);

// Not tied to `enabled`: the onboarding backdrop is always hidden.
void hideOnboardingBackdrop(id controller);
// Gives the mini player its darker background once, while ColorFlow colours the app, then releases its tag.
void releaseMiniPlayerTag(id controller);
void darkenLyricsScreen(id controller);
void tagArtworkImageView(id subview);
bool keepLocalControlKeepsTint(id control);

template <std::size_t Entry, void (*After)(id)>
void callThroughThen(id self, SEL cmd) {
    callThrough<Entry>(self, cmd);
    if (enabled) After(self);
}

template <std::size_t Entry, void (*Before)(id)>
void actThenCallThrough(id self, SEL cmd) {
    if (enabled) Before(self);
    callThrough<Entry>(self, cmd);
}

template <std::size_t Entry>
void onboardingViewDidLoad(id self, SEL cmd) {
    callThrough<Entry>(self, cmd);
    hideOnboardingBackdrop(self);
}

template <std::size_t Entry>
void miniPlayerWillMoveToParent(id self, SEL cmd, id parent) {
    callThrough<Entry>(self, cmd, parent);
    if (enabled && colorFlowMusicEnabled) releaseMiniPlayerTag(self);
}

template <std::size_t Entry>
void lyricsViewWillAppear(id self, SEL cmd, bool animated) {
    callThrough<Entry>(self, cmd, animated);
    if (enabled) darkenLyricsScreen(self);
}

template <std::size_t Entry>
void artworkImageViewAddSubview(id self, SEL cmd, id subview) {
    if (enabled) tagArtworkImageView(subview);
    callThrough<Entry>(self, cmd, subview);
}

template <std::size_t Entry>
id artworkImageViewTintColor(id self, SEL cmd) {
    if (!enabled) return callThrough<Entry, id>(self, cmd);
    return nullptr;
}

template <std::size_t Entry>
id keepLocalControlTintColor(id self, SEL cmd) {
    if (!enabled || keepLocalControlKeepsTint(self)) return callThrough<Entry, id>(self, cmd);
    return tintColor;
}

}  // namespace obscuro
