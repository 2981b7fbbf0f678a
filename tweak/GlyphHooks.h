// Replacements that tint named images and button images, and answer placeholder requests with dark artwork.
#pragma once

#include "Decision.h"
#include "HookTable.h"

namespace obscuro {

// What a named-image request gives, given the app's own image (step 1 loads it): steps 2 to 7.
Decided<id> decideNamedImage(id name, id loaded);
// Whether a button keeps the image it is given rather than a tinted copy: steps 1 to 8.
Decided<bool> decideButtonKeepsImage(id button, id image);

// UIImage imageNamed:inBundle:compatibleWithTraitCollection: (a class method)
template <std::size_t Entry>
id imageNamedReplacement(id self, SEL cmd, id name, id bundle, id traits) {
    id loaded = callThrough<Entry, id>(self, cmd, name, bundle, traits);
    Decided<id> decision = decideNamedImage(name, loaded);
    reportDecision(Entry, self, decision.step, loaded, decision.outcome);
    return decision.outcome;
}

// UIButton setImage:forState:
template <std::size_t Entry>
void buttonSetImage(id self, SEL cmd, id image, unsigned long state);

}  // namespace obscuro

#include "ThemeState.h"
#include "UIImage+Color.h"

namespace obscuro {

template <std::size_t Entry>
void buttonSetImage(id self, SEL cmd, id image, unsigned long state) {
    Decided<bool> keeps = decideButtonKeepsImage(self, image);
    id assigned = keeps.outcome ? image : imageWithTint(image, tintColor);
    reportDecision(Entry, self, keeps.step, image, assigned);
    callThrough<Entry>(self, cmd, assigned, state);
}

}  // namespace obscuro
