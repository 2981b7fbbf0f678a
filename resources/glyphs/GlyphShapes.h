// The shapes of the glyphs: each fills its outline, in the current source colour, within the unit square.
#pragma once

#include <cairo.h>

namespace glyphs {

// Every shape draws in a context whose user space maps the unit square onto the picture and
// leaves a transparent margin of its own. Shapes that cut holes do so with the clear operator,
// so they are drawn on a picture of their own.
using Shape = void (*)(cairo_t* cr);

void musicNotes(cairo_t* cr);     // two beamed eighth notes
void gear(cairo_t* cr);           // eight teeth around a hole: a smart playlist's rules
void plus(cairo_t* cr);           // round-ended cross
void play(cairo_t* cr);           // right-pointing triangle with rounded corners
void pauseInDisc(cairo_t* cr);    // two bars cut from a disc
void next(cairo_t* cr);           // two right-pointing triangles
void previous(cairo_t* cr);       // two left-pointing triangles
void airPlay(cairo_t* cr);        // a screen with a triangle rising into it
void speaker(cairo_t* cr);        // the quiet end of the volume slider
void speakerLoud(cairo_t* cr);    // the loud end: a speaker with two sound waves
void dot(cairo_t* cr);            // a disc filling the square
void ellipsis(cairo_t* cr);       // three dots in a row
void download(cairo_t* cr);       // an arrow down onto a bar
void heart(cairo_t* cr);
void albumStack(cairo_t* cr);     // the Library tab: a record sleeve before two more
void musicNote(cairo_t* cr);      // the Browse tab: one eighth note
void radioWaves(cairo_t* cr);     // the Radio tab: a mast between two pairs of waves
void magnifier(cairo_t* cr);      // the Search tab and field
void chevronLeft(cairo_t* cr);    // back
void chevronRight(cairo_t* cr);   // disclosure
void shuffle(cairo_t* cr);        // two crossing arrows
void repeat(cairo_t* cr);         // a loop of two arrows
void cornerMask(cairo_t* cr);     // the corners outside a rounded square: artwork's rounded edge

}  // namespace glyphs
