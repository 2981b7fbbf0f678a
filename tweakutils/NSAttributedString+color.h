// NSAttributedString(color): recolouring attributed text with one foreground colour.
#pragma once

#include <objc/objc.h>

// An immutable copy of `attributedString` whose foreground colour is `color` over the whole
// text, every other attribute kept. Returns the receiver itself (no copy) when its first
// character already has a colour with the same hex colour string. When the platform raises
// (empty text, nil colour) the exception is logged as "-----------------Exception:<reason>"
// and the receiver is returned unchanged. Nil for a nil receiver.
id replaceColorsWith(id attributedString, id color);
