// Replacements that give text views, text fields, labels and drawn strings the theme's text colour.
#pragma once

#include "Decision.h"
#include "HookTable.h"

#include <CoreGraphics/CGGeometry.h>

namespace obscuro {

// UITextView and UITextField
template <std::size_t Entry> void textSetTextColor(id self, SEL cmd, id colour);
template <std::size_t Entry> id textTextColor(id self, SEL cmd);
template <std::size_t Entry> void textSetAttributedText(id self, SEL cmd, id text);
template <std::size_t Entry> id textViewLinkTextAttributes(id self, SEL cmd);

// The colour a text view or text field is given in place of `given`: mainTextColor while enabled.
Decided<id> decideThemedTextColour(id given);

// The label procedures: the colour a label's setTextColor: passes on (steps 1 to 9), and
// whether a label's tintColor is its own rather than mainTextColor (steps 1 to 4).
Decided<id> decideLabelTextColour(id label, id given);
Decided<bool> decideLabelTintKeepsOwn(id label);
// What a label's textColor answers for the colour it holds: mainTextColor in place of the stock pink.
Decided<id> decideLabelStoredColour(id stored);
// Whether labels of `cls` take the theme's text colour in their attributes: not while the
// product is off, nor for UIKit's private labels.
bool labelTakesTextColour(Class cls);

// UILabel
template <std::size_t Entry> id labelTextColor(id self, SEL cmd);
template <std::size_t Entry> void labelSetTextColor(id self, SEL cmd, id colour);
template <std::size_t Entry> id labelTintColor(id self, SEL cmd);
template <std::size_t Entry> id labelDefaultAttributes(id self, SEL cmd);
template <std::size_t Entry> void labelSetAttributedText(id self, SEL cmd, id text);

// Music.Text.Drawing.View drawRect: and NSString drawWithRect:options:attributes:context:
template <std::size_t Entry> void textDrawingViewDrawRect(id self, SEL cmd, CGRect rect);
template <std::size_t Entry> void stringDrawWithRect(id self, SEL cmd, CGRect rect, long options, id attributes, id context);

}  // namespace obscuro

#include "TextHooks.inl"
