// libcolorpicker: turning a stored colour string into a colour, with a fallback.
#pragma once

#include <objc/objc.h>

// The colour of `storedValue`, a colour string: "#RGB" or "#RRGGBB" (hex digits of either
// case), optionally followed by ":alpha" with alpha a decimal from 0 to 1 ("#FF0000:0.5");
// white space around the whole string is ignored. When `storedValue` is nil, not a string or
// not in one of these forms, the colour of `fallbackString` (same forms); when that cannot be
// read either, opaque black. Always an autoreleased RGB UIColor, never nil.
id LCPParseColorString(id storedValue, id fallbackString);
