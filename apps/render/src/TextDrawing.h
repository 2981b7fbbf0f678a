// Laying out and drawing one block of text with Pango in DejaVu Sans, for the renderer.
#pragma once

#include <CoreGraphics/CGGeometry.h>

#include <cairo.h>

#include <string>
#include <vector>

namespace render {

// A stretch of the text, in UTF-8 bytes [start, end), drawn in a colour of its own.
struct ColourRun {
    std::size_t start = 0, end = 0;
    double rgba[4] = {0, 0, 0, 1};
};

struct TextStyle {
    double pointSize = 17;
    bool bold = false;
    double rgba[4] = {0, 0, 0, 1};
    long alignment = 4;  // NSTextAlignment
    long lines = 1;      // 0: as many as fit
    bool centreVertically = true;
    std::vector<ColourRun> runs;  // over the style's colour
};

// Draws `text` (UTF-8) inside `box` (points, current user space): one line ellipsized at the end,
// or wrapped at the box width when `lines` is not 1. Hinting and antialiasing are fixed, so the
// same text gives the same pixels on every run.
void drawText(cairo_t* cr, const std::string& text, const TextStyle& style, CGRect box);

}  // namespace render
