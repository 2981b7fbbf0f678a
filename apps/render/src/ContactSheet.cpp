// The contact sheet: pictures scaled down and laid out in rows on grey.
#include "PictureSurface.h"

#include <algorithm>

namespace render {

Picture contactSheet(const std::vector<std::vector<const Picture*>>& rows, int gap, int shrink) {
    shrink = std::max(1, shrink);
    gap = std::max(0, gap);
    int width = gap, height = gap;
    for (const auto& row : rows) {
        int rowWidth = gap, rowHeight = 0;
        for (const Picture* p : row) {
            if (!p) continue;
            rowWidth += p->width / shrink + gap;
            rowHeight = std::max(rowHeight, p->height / shrink);
        }
        width = std::max(width, rowWidth);
        height += rowHeight + gap;
    }
    SurfacePtr sheet(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
    ContextPtr cr(cairo_create(sheet.get()), cairo_destroy);
    cairo_set_source_rgb(cr.get(), 0.5, 0.5, 0.5);
    cairo_paint(cr.get());
    double y = gap;
    for (const auto& row : rows) {
        double x = gap;
        int rowHeight = 0;
        for (const Picture* p : row) {
            if (!p || p->width <= 0) continue;
            SurfacePtr surface = surfaceOf(*p);
            cairo_save(cr.get());
            cairo_translate(cr.get(), x, y);
            cairo_scale(cr.get(), 1.0 / shrink, 1.0 / shrink);
            cairo_set_source_surface(cr.get(), surface.get(), 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_GOOD);
            cairo_paint(cr.get());
            cairo_restore(cr.get());
            x += p->width / shrink + gap;
            rowHeight = std::max(rowHeight, p->height / shrink);
        }
        y += rowHeight + gap;
    }
    return pictureOf(sheet.get());
}

}  // namespace render
