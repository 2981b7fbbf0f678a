// The status bar: "9:41", four signal bars, the Wi-Fi fan and a full battery, in the style's content colour.
#include "StatusBar.h"

#include "TextDrawing.h"

#include <numbers>

namespace render {

namespace {

void signalBars(cairo_t* cr, double x, double baseline) {
    for (int i = 0; i < 4; ++i) {
        double h = 3.5 + i * 2.5;
        cairo_rectangle(cr, x + i * 4.5, baseline - h, 3, h);
    }
    cairo_fill(cr);
}

// Three arcs and a dot fanning up from one point, as the phone's Wi-Fi glyph.
void wifi(cairo_t* cr, double x, double baseline) {
    constexpr double spread = std::numbers::pi / 4;
    cairo_set_line_width(cr, 1.8);
    for (double r : {3.5, 6.8, 10.1}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, baseline, r, -std::numbers::pi / 2 - spread, -std::numbers::pi / 2 + spread);
    }
    cairo_stroke(cr);
    cairo_arc(cr, x, baseline - 0.8, 1.3, 0, 2 * std::numbers::pi);
    cairo_fill(cr);
}

void battery(cairo_t* cr, double x, double baseline) {
    constexpr double w = 24, h = 11.5;
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, x + 0.5, baseline - h + 0.5, w - 1, h - 1);
    cairo_stroke(cr);
    cairo_rectangle(cr, x + 2, baseline - h + 2, w - 4, h - 4);
    cairo_rectangle(cr, x + w + 1, baseline - h / 2 - 2, 1.5, 4);
    cairo_fill(cr);
}

}  // namespace

void drawStatusBar(cairo_t* cr, double width, double height, long style) {
    if (width <= 0 || height <= 0) return;
    double shade = style == 1 ? 1.0 : 0.0;
    bool notched = height >= 44;
    cairo_save(cr);
    cairo_set_source_rgba(cr, shade, shade, shade, 1);
    TextStyle time;
    time.pointSize = 15;
    time.bold = true;
    time.rgba[0] = time.rgba[1] = time.rgba[2] = shade;
    time.alignment = 1;
    double baseline = notched ? 29 : 15;
    if (notched) {
        drawText(cr, "9:41", time, {{0, 0}, {width * 0.29, height * 0.85}});
        signalBars(cr, width - 80, baseline);
        wifi(cr, width - 50, baseline);
        battery(cr, width - 39 + 10, baseline);
    } else {
        drawText(cr, "9:41", time, {{0, 0}, {width, height}});
        signalBars(cr, 6, baseline);
        wifi(cr, 36, baseline);
        battery(cr, width - 32, baseline);
    }
    cairo_restore(cr);
}

}  // namespace render
