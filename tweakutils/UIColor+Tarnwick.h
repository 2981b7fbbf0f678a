// UIColor(Tarnwick): colour arithmetic, the light test and hex colour strings, as functions over nullable colours.
#pragma once

#include <objc/objc.h>

// Every function takes a colour that may be nil and answers nil (or NO) for it, as a message
// to nil would. Colours returned are new and autoreleased unless a function says otherwise.

// The colour with its brightness raised by 30% (capped at 1.0); black, which no factor can
// raise, becomes the dark grey of brightness 0.078. Nil when the colour has no HSB view.
id lighterColor(id color);

// The colour with its brightness lowered to 75%. Nil when the colour has no HSB view.
id darkerColor(id color);

// (1 - red, 1 - green, 1 - blue, alpha). A colour without an RGBA view (a pattern) has
// nothing to invert and is returned itself.
id inverseColor(id color);

// The component-wise midpoint of `color` and `other`, alpha included. A receiver with fewer
// than two components (a pattern) is returned itself, and so is the receiver when either
// colour has no RGBA view.
id midColorFrom(id color, id other);

// Halfway to black for a light colour, halfway to white for a dark one; alpha moves halfway to 1.
id offsetColor(id color);

// YES when the BT.601 luma of the stored components reaches 0.7f (widened to double).
// RGB colours use their stored components; every other colour its white value.
BOOL isLightColor(id color);

// The opaque colour of the low 24 bits of the hexadecimal number that follows the first
// character ("#RRGGBB"). Never nil: text with no number there, an empty string, nil or a
// non-string give opaque black.
id tw_colorFromHexString(id string);

// "#RRGGBB" of the colour's red, green and blue (each × 255 truncated toward zero), upper
// case, alpha ignored; a monochrome colour uses its white value three times. Nil for nil and
// for a colour with neither an RGBA nor a white view (a pattern).
id tw_hexStringFromColor(id color);

// The text of tw_hexStringFromColor written into `text` (NUL-terminated) instead of a new
// string object, for callers that only compare it on hot paths. False, leaving `text` empty,
// where that function answers nil.
struct HexColorText {
    char text[40] = {};
};
bool hexTextFromColor(id color, HexColorText* text);
