// Replacements that tint named images and button images, and answer placeholder requests with dark artwork.
#pragma once

#include "HookTable.h"

namespace obscuro {

// What a named-image request gives while the product is enabled, given the app's own image.
id decideNamedImage(id name, id loaded);
// Whether a button keeps the image it is given.
bool buttonKeepsImage(id button);

// UIImage imageNamed:inBundle:compatibleWithTraitCollection: (a class method)
template <std::size_t Entry>
id imageNamedReplacement(id self, SEL cmd, id name, id bundle, id traits) {
    id loaded = callThrough<Entry, id>(self, cmd, name, bundle, traits);
    return decideNamedImage(name, loaded);
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
    if (!image || !enabled || buttonKeepsImage(self)) return callThrough<Entry>(self, cmd, image, state);
    callThrough<Entry>(self, cmd, imageWithTint(image, tintColor), state);
}

}  // namespace obscuro
