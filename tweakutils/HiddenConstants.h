// The settings loader's hidden constants: their stored forms and the calls that reveal them.
#pragma once

#include <objc/objc.h>

// Each reveal makes a store salted with the loader's fixed list of 35 framework classes,
// reveals one constant and drops the store. The result is an autoreleased NSString. A class
// of the list missing from the process ends the list early and changes the salt: the
// reveal then gives garbled text (or nil when the bytes are not UTF-8).

// The default background colour, a "#RRGGBB" hex colour string.
id revealDefaultBackgroundColor();
// The key of the background colour in the settings file and in each theme.
id revealBackgroundColorKey();
// The key of the main text colour in the settings file and in each theme.
id revealTextColorKey();

namespace hidden {
// The stored forms, NUL-terminated; no byte before the terminator is 0.
extern const unsigned char _defaultBackgroundColor[8];
extern const unsigned char _backgroundColorKey[16];
extern const unsigned char _textColorKey[10];
}  // namespace hidden
