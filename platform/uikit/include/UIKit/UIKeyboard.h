// The keyboard: shown at the bottom of the window for the first responder, light or dark as its traits ask.
#pragma once

class UIWindow;
class UIView;

// Text fields and text views can become first responder while they are in a window (elsewhere
// becomeFirstResponder answers NO, as on the phone); a search bar hands it to its search field.
// The window then shows a UIKeyboard along its bottom edge, over everything else: a
// UIKBKeyplaneView of UIKBKeyViews (letters, shift, delete, numbers, space, return) and, on
// screens with a home indicator, a UIKeyboardDockView with two UIKeyboardDockItemButtons (globe,
// dictation). At each layout the keyboard asks the responder for its `textInputTraits`, the traits
// for their `keyboardAppearance`, makes `[UIKBRenderConfig configForAppearance:]` and draws its
// keys light or dark as the config's `lightKeyboard` answers. resignFirstResponder, or another
// input becoming first responder elsewhere, takes the keyboard away.
//
// UIKeyboard selectors: - (id)renderConfig (the config of its last layout), (id)inputResponder.
// UIKBKeyView selectors: - (id)label, setLabel:, (id)secondaryLabel, setSecondaryLabel:,
// (id)keyColor, setKeyColor:, (id)labelColor, setLabelColor:; drawRect: draws the key cap.

namespace platform {

// The keyboard the window shows now, or nil.
UIView* keyboardOfWindow(UIWindow* window);

// The keyboard's height on the main screen, dock included.
double keyboardHeight();

}  // namespace platform
