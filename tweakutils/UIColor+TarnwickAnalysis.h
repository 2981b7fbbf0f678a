// UIColor(Tarnwick) image analysis: the main colours of an image, its average colour, and the light and white tests.
#pragma once

#include <objc/objc.h>

#include <functional>

// These stand for class methods of UIColor, so a nil image is not a message to nil: it is an
// image with nothing to draw, and each function says what that gives.

// Told how far the count has come, from 0 to 1, a few hundred times in a long count.
using MainColoursProgress = std::function<void(double fraction)>;

// The dominant colours of the image: an autoreleased NSDictionary from opaque UIColor to an
// NSNumber holding a float share; the shares add up to 1 and the entries come in order of
// share, largest first. The image is reduced to a grid of samples (4 × 4 for detail 0, 100 × 100
// for detail 2, 10 × 10 for any other value); every sample votes for the colours a little
// around it, and a colour is kept only when it is farther than a separation (100, 20, 60) on
// some channel from every colour with more votes. Votes tied with each other rank in the order
// they were first cast (samples column by column, each from the top; within a sample red,
// green, blue ascending), so the same image always gives the same colours. Transparent
// samples count as black; a nil or undrawable image gives opaque black with share 1.
id mainColoursInImage(id image, int detail, const MainColoursProgress& progress = {});

// The image drawn into one premultiplied pixel (cleared first), with the colour multiplied by
// the alpha once more: the plain average for an opaque image, darker for a translucent one.
// A nil image gives clear black.
id averageColorForImage(id image);

// YES when every pixel of the image's bitmap, as premultiplied values, is a light colour
// (isLightColor); NO at the first that is not, so any transparent pixel makes it NO. Logs one
// line per pixel visited. YES for an image without pixels (nil, zero size). Grey images are
// read through device RGB.
BOOL imageIsLightColor(id image);

// YES when every byte of every pixel is 255 (opaque white); YES for an image without pixels.
BOOL imageIsAllWhite(id image);
