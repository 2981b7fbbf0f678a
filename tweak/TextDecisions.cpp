// The text colour procedures, step by step: which colour a text view or label is given, and whether a label keeps its own tint.
#include "ClassTests.h"
#include "RememberedClasses.h"
#include "TextHooks.h"
#include "ThemeState.h"
#include "ViewQueries.h"

namespace obscuro {

Decided<id> decideThemedTextColour(id given) {
    if (!enabled) return {kPassedThrough, given};
    return {kRuleApplied, mainTextColor};
}

Decided<id> decideLabelTextColour(id label, id given) {
    if (!enabled) return {1, given};
    if (classNameBeginsWithUnderscore(object_getClass(label))) return {2, given};
    if (classes::sparkBatteryView.isKindOf(label)) return {3, given};
    if (classes::tabBarButtonLabel.isKindOf(label)) return {4, given};
    if (!colorFlowMusicEnabled) return {5, mainTextColor};
    Class owner = responderOwnerClass(label);  // step 6
    if (owner && classNameIs(owner, "Music.MiniPlayerViewController") && !hexIs(given, "#000000")) return {7, given};
    if (owner && classNameIs(owner, "MusicNowPlayingControlsViewController")) return {8, given};
    return {9, mainTextColor};
}

Decided<bool> decideLabelTintKeepsOwn(id label) {
    if (!enabled) return {1, true};
    if (classes::tabBarButtonLabel.isKindOf(label)) return {2, true};
    if (colorFlowMusicEnabled) {
        Class owner = responderOwnerClass(label);
        if (owner && (classNameIs(owner, "MusicNowPlayingControlsViewController") || classNameIs(owner, "Music.MiniPlayerViewController")))
            return {3, true};
    }
    return {4, false};
}

Decided<id> decideLabelStoredColour(id stored) {
    if (enabled && hexIs(stored, "#FF2D55")) return {kRuleApplied, mainTextColor};
    return {kPassedThrough, stored};
}

bool labelTakesTextColour(Class cls) { return enabled && !classNameBeginsWithUnderscore(cls); }

}  // namespace obscuro
