// UIColor(Tarnwick) image makers: solid images of a colour, at the screen's scale or at scale 1.
#pragma once

#include <CoreGraphics/CGGeometry.h>
#include <objc/objc.h>

// An autoreleased image of bounds.size points at the main screen's scale, transparent, with the
// rectangle `bounds` (origin included) filled with `color`. Callers pass an origin of (0, 0) to
// fill the whole image; any other origin shifts the fill and leaves the rest transparent.
// A nil colour leaves the context's default fill colour (opaque black). Nil for a size
// without pixels.
id imageWithColorAndBounds(id color, CGRect bounds);

// An autoreleased image of `size` points at scale 1.0 filled with the colour. Nil for a nil
// colour and for a size without pixels.
id thumbnailWithSize(id color, CGSize size);
