// Glyph outlines as Cairo paths in the unit square.
#include "GlyphShapes.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace glyphs {

namespace {

using Point = std::pair<double, double>;

void polygon(cairo_t* cr, std::initializer_list<Point> points) {
    bool first = true;
    for (auto [x, y] : points) {
        if (first) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
        first = false;
    }
    cairo_close_path(cr);
}

void disc(cairo_t* cr, double x, double y, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
    cairo_close_path(cr);
}

void roundedRect(cairo_t* cr, double x, double y, double width, double height, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + height - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// Fills the current path and strokes it with round joins, which rounds a polygon's corners
// by half the stroke width.
void fillRounded(cairo_t* cr, double cornerWidth) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, cornerWidth);
    cairo_fill_preserve(cr);
    cairo_stroke(cr);
}

void roundLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

void noteHead(cairo_t* cr, double x, double y) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 0.115, 0.085);
    disc(cr, 0, 0, 1);
    cairo_restore(cr);
}

// Cuts the current path out of what is drawn so far.
void clearPath(cairo_t* cr) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace

void musicNotes(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, -0.03, 0.0);
    noteHead(cr, 0.33, 0.745);
    noteHead(cr, 0.73, 0.665);
    cairo_fill(cr);
    cairo_rectangle(cr, 0.405, 0.27, 0.04, 0.475);
    cairo_rectangle(cr, 0.805, 0.19, 0.04, 0.475);
    cairo_fill(cr);
    polygon(cr, {{0.405, 0.26}, {0.845, 0.18}, {0.845, 0.30}, {0.405, 0.38}});
    fillRounded(cr, 0.02);
    cairo_restore(cr);
}

void gear(cairo_t* cr) {
    constexpr int kTeeth = 8;
    constexpr double kOuter = 0.42, kRoot = 0.33, kHole = 0.13;
    constexpr double kTipHalf = 0.17, kRootHalf = 0.26;
    cairo_save(cr);
    cairo_translate(cr, 0.5, 0.5);
    for (int i = 0; i < kTeeth; ++i) {
        double angle = i * 2 * M_PI / kTeeth;
        double nextAngle = (i + 1) * 2 * M_PI / kTeeth;
        if (i == 0) cairo_move_to(cr, kRoot * std::cos(angle - kRootHalf), kRoot * std::sin(angle - kRootHalf));
        cairo_line_to(cr, kOuter * std::cos(angle - kTipHalf), kOuter * std::sin(angle - kTipHalf));
        cairo_arc(cr, 0, 0, kOuter, angle - kTipHalf, angle + kTipHalf);
        cairo_line_to(cr, kRoot * std::cos(angle + kRootHalf), kRoot * std::sin(angle + kRootHalf));
        cairo_arc(cr, 0, 0, kRoot, angle + kRootHalf, nextAngle - kRootHalf);
    }
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, 0, 0, kHole, 2 * M_PI, 0);
    cairo_close_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
    cairo_restore(cr);
}

void plus(cairo_t* cr) {
    roundLine(cr, 0.5, 0.2, 0.5, 0.8, 0.14);
    roundLine(cr, 0.2, 0.5, 0.8, 0.5, 0.14);
}

void play(cairo_t* cr) {
    polygon(cr, {{0.28, 0.16}, {0.28, 0.84}, {0.84, 0.5}});
    fillRounded(cr, 0.06);
}

void pauseInDisc(cairo_t* cr) {
    disc(cr, 0.5, 0.5, 0.46);
    cairo_fill(cr);
    roundedRect(cr, 0.33, 0.3, 0.11, 0.4, 0.02);
    roundedRect(cr, 0.56, 0.3, 0.11, 0.4, 0.02);
    clearPath(cr);
}

void next(cairo_t* cr) {
    polygon(cr, {{0.08, 0.22}, {0.08, 0.78}, {0.52, 0.5}});
    polygon(cr, {{0.48, 0.22}, {0.48, 0.78}, {0.92, 0.5}});
    fillRounded(cr, 0.04);
}

void previous(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 1, 0);
    cairo_scale(cr, -1, 1);
    next(cr);
    cairo_restore(cr);
}

void airPlay(cairo_t* cr) {
    roundedRect(cr, 0.1, 0.1, 0.8, 0.62, 0.06);
    cairo_fill(cr);
    polygon(cr, {{0.5, 0.58}, {0.12, 1.0}, {0.88, 1.0}});
    clearPath(cr);
    polygon(cr, {{0.5, 0.66}, {0.26, 0.94}, {0.74, 0.94}});
    fillRounded(cr, 0.03);
}

void speaker(cairo_t* cr) {
    cairo_rectangle(cr, 0.18, 0.38, 0.18, 0.24);
    polygon(cr, {{0.34, 0.38}, {0.58, 0.18}, {0.58, 0.82}, {0.34, 0.62}});
    fillRounded(cr, 0.03);
}

void speakerLoud(cairo_t* cr) {
    cairo_rectangle(cr, 0.08, 0.38, 0.18, 0.24);
    polygon(cr, {{0.24, 0.38}, {0.56, 0.16}, {0.56, 0.84}, {0.24, 0.62}});
    fillRounded(cr, 0.03);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 0.06);
    for (double radius : {0.16, 0.3}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0.56, 0.5, radius, -0.85, 0.85);
        cairo_stroke(cr);
    }
}

void dot(cairo_t* cr) {
    disc(cr, 0.5, 0.5, 0.5);
    cairo_fill(cr);
}

void ellipsis(cairo_t* cr) {
    for (double x : {0.2, 0.5, 0.8}) disc(cr, x, 0.5, 0.1);
    cairo_fill(cr);
}

void download(cairo_t* cr) {
    cairo_rectangle(cr, 0.44, 0.12, 0.12, 0.5);
    cairo_fill(cr);
    polygon(cr, {{0.24, 0.5}, {0.76, 0.5}, {0.5, 0.78}});
    fillRounded(cr, 0.04);
    roundedRect(cr, 0.18, 0.84, 0.64, 0.08, 0.04);
    cairo_fill(cr);
}

void heart(cairo_t* cr) {
    disc(cr, 0.32, 0.38, 0.2);
    disc(cr, 0.68, 0.38, 0.2);
    cairo_fill(cr);
    // The sides meet the discs where they curve in, so no corner shows past them.
    polygon(cr, {{0.1414, 0.47}, {0.8586, 0.47}, {0.5, 0.88}});
    cairo_fill(cr);
}

void albumStack(cairo_t* cr) {
    roundedRect(cr, 0.24, 0.08, 0.52, 0.06, 0.03);
    roundedRect(cr, 0.16, 0.2, 0.68, 0.06, 0.03);
    roundedRect(cr, 0.06, 0.32, 0.88, 0.62, 0.08);
    cairo_fill(cr);
    disc(cr, 0.5, 0.63, 0.2);
    clearPath(cr);
    disc(cr, 0.5, 0.63, 0.06);
    cairo_fill(cr);
}

void musicNote(cairo_t* cr) {
    noteHead(cr, 0.42, 0.74);
    cairo_fill(cr);
    cairo_rectangle(cr, 0.505, 0.12, 0.07, 0.62);
    cairo_fill(cr);
    polygon(cr, {{0.505, 0.12}, {0.8, 0.24}, {0.8, 0.4}, {0.505, 0.28}});
    fillRounded(cr, 0.03);
}

void radioWaves(cairo_t* cr) {
    disc(cr, 0.5, 0.42, 0.09);
    cairo_fill(cr);
    polygon(cr, {{0.46, 0.46}, {0.54, 0.46}, {0.64, 0.92}, {0.36, 0.92}});
    fillRounded(cr, 0.03);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 0.07);
    for (double radius : {0.2, 0.36}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0.5, 0.42, radius, -0.8, 0.8);
        cairo_stroke(cr);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0.5, 0.42, radius, M_PI - 0.8, M_PI + 0.8);
        cairo_stroke(cr);
    }
}

void magnifier(cairo_t* cr) {
    cairo_set_line_width(cr, 0.11);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0.42, 0.42, 0.28, 0, 2 * M_PI);
    cairo_stroke(cr);
    roundLine(cr, 0.63, 0.63, 0.88, 0.88, 0.13);
}

void chevronLeft(cairo_t* cr) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 0.14);
    cairo_move_to(cr, 0.68, 0.1);
    cairo_line_to(cr, 0.28, 0.5);
    cairo_line_to(cr, 0.68, 0.9);
    cairo_stroke(cr);
}

void chevronRight(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 1, 0);
    cairo_scale(cr, -1, 1);
    chevronLeft(cr);
    cairo_restore(cr);
}

void shuffle(cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 0.09);
    cairo_move_to(cr, 0.08, 0.28);
    cairo_curve_to(cr, 0.45, 0.28, 0.45, 0.72, 0.78, 0.72);
    cairo_move_to(cr, 0.08, 0.72);
    cairo_curve_to(cr, 0.45, 0.72, 0.45, 0.28, 0.78, 0.28);
    cairo_stroke(cr);
    polygon(cr, {{0.76, 0.14}, {0.96, 0.28}, {0.76, 0.42}});
    polygon(cr, {{0.76, 0.58}, {0.96, 0.72}, {0.76, 0.86}});
    fillRounded(cr, 0.03);
}

void repeat(cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 0.09);
    cairo_move_to(cr, 0.12, 0.56);
    cairo_line_to(cr, 0.12, 0.3);
    cairo_line_to(cr, 0.78, 0.3);
    cairo_move_to(cr, 0.88, 0.44);
    cairo_line_to(cr, 0.88, 0.7);
    cairo_line_to(cr, 0.22, 0.7);
    cairo_stroke(cr);
    polygon(cr, {{0.74, 0.16}, {0.94, 0.3}, {0.74, 0.44}});
    polygon(cr, {{0.26, 0.56}, {0.06, 0.7}, {0.26, 0.84}});
    fillRounded(cr, 0.03);
}

void cornerMask(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, 1, 1);
    cairo_fill(cr);
    roundedRect(cr, 0, 0, 1, 1, 0.04);
    clearPath(cr);
}

}  // namespace glyphs
