// The first responder of text inputs and the keyboard their window shows for it.
#pragma once

#include <objc/objc.h>

class UIView;

namespace platform::uikit {

// becomeFirstResponder, resignFirstResponder and isFirstResponder of a text input view.
bool becomeFirstResponder(UIView* input);
bool resignFirstResponder(UIView* input);
bool isFirstResponder(UIView* input);

// Stock methods and instance variables of UIKBKeyView, UIKeyboard and DevicePINKeypad, added
// before those private classes are registered.
void addKeyViewStock(Class cls);
void addKeyboardStock(Class cls);
void addPINKeypadStock(Class cls);

}  // namespace platform::uikit
