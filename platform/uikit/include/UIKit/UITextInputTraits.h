// Text input traits: the keyboard appearance values, and the traits object text inputs keep.
#pragma once

// UIKeyboardAppearance
constexpr long UIKeyboardAppearanceDefault = 0;
constexpr long UIKeyboardAppearanceDark = 1;
constexpr long UIKeyboardAppearanceLight = 2;
constexpr long UIKeyboardAppearanceAlert = UIKeyboardAppearanceDark;

// UITextField, UITextView and UISearchBar keep a UITextInputTraits object (a private NSObject
// subclass with `keyboardAppearance`/`setKeyboardAppearance:` (long), `keyboardType`,
// `returnKeyType`) and answer their own keyboardAppearance by asking it, as the phone does.
