// Replacements around the layout and loading of the Music app's screens; they hide, recolour and tag views.
#pragma once

#include "Decision.h"
#include "HookTable.h"
#include "ThemeState.h"

namespace obscuro {

// What a replacement does to its receiver after (or before) calling through, while enabled,
// and what it decided: the step (kRuleApplied when it acted, kPassedThrough when the rule's
// condition was unmet) and what it applied: the colour it painted or stroked, whether it hid,
// tagged or how many it hid, or the image it set.
Decided<bool> hideTextStackInImageView(id stack);
Decided<id> borderSubtitledButton(id button);
Decided<id> paintTabBarBackground(id background);
Decided<id> fillCircleView(id circle);
Decided<id> colourShapeView(id shape);
Decided<id> tagMiniPlayer(id controller);
Decided<bool> hideSelf(id view);
Decided<id> tintPlayIntentButton(id controls);
Decided<unsigned long> hideArtworkShadow(id content);
Decided<id> adoptNavigationBarBackgrounds(id header);
Decided<id> paintKeepLocalBackground(id control);
Decided<id> paintActionSeparators(id stack);
Decided<id> paintWithLightGray(id view);
Decided<id> paintWithBackground(id view);
Decided<id> paintNavigationBarBackground(id background);

// Not tied to `enabled`: the onboarding backdrop is always hidden.
Decided<bool> hideOnboardingBackdrop(id controller);
// Gives the mini player its darker background once, while ColorFlow colours the app, then releases its tag.
Decided<id> releaseMiniPlayerTag(id controller);
Decided<id> darkenLyricsScreen(id controller);
Decided<bool> tagArtworkImageView(id subview);
// Whether the keep-local control answers its own tint rather than the theme's.
Decided<bool> decideKeepLocalControlKeepsTint(id control);

template <class Outcome>
constexpr Decided<Outcome> passedThrough() {
    return {kPassedThrough, Outcome{}};
}

template <std::size_t Entry, auto After>
void callThroughThen(id self, SEL cmd) {
    callThrough<Entry>(self, cmd);
    auto acted = enabled ? After(self) : passedThrough<decltype(After(self).outcome)>();
    reportDecision(Entry, self, acted.step, id{nullptr}, acted.outcome);
}

template <std::size_t Entry, auto Before>
void actThenCallThrough(id self, SEL cmd) {
    auto acted = enabled ? Before(self) : passedThrough<decltype(Before(self).outcome)>();
    reportDecision(Entry, self, acted.step, id{nullptr}, acted.outcome);
    callThrough<Entry>(self, cmd);
}

template <std::size_t Entry>
void onboardingViewDidLoad(id self, SEL cmd) {
    callThrough<Entry>(self, cmd);
    Decided<bool> hidden = hideOnboardingBackdrop(self);
    reportDecision(Entry, self, hidden.step, id{nullptr}, hidden.outcome);
}

template <std::size_t Entry>
void miniPlayerWillMoveToParent(id self, SEL cmd, id parent) {
    callThrough<Entry>(self, cmd, parent);
    Decided<id> released = enabled && colorFlowMusicEnabled ? releaseMiniPlayerTag(self) : passedThrough<id>();
    reportDecision(Entry, self, released.step, parent, released.outcome);
}

template <std::size_t Entry>
void lyricsViewWillAppear(id self, SEL cmd, bool animated) {
    callThrough<Entry>(self, cmd, animated);
    Decided<id> darkened = enabled ? darkenLyricsScreen(self) : passedThrough<id>();
    reportDecision(Entry, self, darkened.step, animated, darkened.outcome);
}

template <std::size_t Entry>
void artworkImageViewAddSubview(id self, SEL cmd, id subview) {
    Decided<bool> tagged = enabled ? tagArtworkImageView(subview) : passedThrough<bool>();
    reportDecision(Entry, self, tagged.step, subview, tagged.outcome);
    callThrough<Entry>(self, cmd, subview);
}

template <std::size_t Entry>
id artworkImageViewTintColor(id self, SEL cmd) {
    if (!enabled) {
        id own = callThrough<Entry, id>(self, cmd);
        reportDecision(Entry, self, kPassedThrough, id{nullptr}, own);
        return own;
    }
    reportDecision(Entry, self, kRuleApplied, id{nullptr}, id{nullptr});
    return nullptr;
}

template <std::size_t Entry>
id keepLocalControlTintColor(id self, SEL cmd) {
    Decided<bool> keepsOwn = enabled ? decideKeepLocalControlKeepsTint(self) : Decided<bool>{kPassedThrough, true};
    id tint = keepsOwn.outcome ? callThrough<Entry, id>(self, cmd) : tintColor;
    reportDecision(Entry, self, keepsOwn.step, id{nullptr}, tint);
    return tint;
}

}  // namespace obscuro
