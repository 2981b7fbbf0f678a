// The status bar the screen draws over every window: the time, signal bars, Wi-Fi and battery.
#pragma once

#include <cairo.h>

namespace render {

// Draws the status bar across the top `width` × `height` points of the current user space, in
// dark content for the default style and white content for the light one (UIStatusBarStyle 1).
// A bar as tall as the notched phones' puts the time in the left ear and the glyphs in the right.
void drawStatusBar(cairo_t* cr, double width, double height, long style);

}  // namespace render
