// The contact sheet: pictures scaled down and laid out in rows on grey.
#include "PictureSurface.h"

#include <render/ContactSheet.h>

#include <algorithm>

namespace render {

SurfacePtr shrunkSurface(cairo_surface_t* surface, int shrink) {
    SurfacePtr small(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(surface) / shrink,
                                                cairo_image_surface_get_height(surface) / shrink),
                     cairo_surface_destroy);
    ContextPtr cr(cairo_create(small.get()), cairo_destroy);
    cairo_scale(cr.get(), 1.0 / shrink, 1.0 / shrink);
    cairo_set_source_surface(cr.get(), surface, 0, 0);
    // Bilinear: a sheet is for a glance, and Cairo's better filter took twice as long as drawing the screen.
    cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_BILINEAR);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr.get());
    cairo_surface_flush(small.get());
    return small;
}

Picture shrinkPicture(const Picture& picture, int shrink) {
    if (shrink <= 1 || picture.width <= 0 || picture.height <= 0) return picture;
    return pictureOf(shrunkSurface(surfaceOf(picture).get(), shrink).get());
}

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
    int y = gap;
    for (const auto& row : rows) {
        int x = gap;
        int rowHeight = 0;
        for (const Picture* p : row) {
            if (!p || p->width <= 0) continue;
            SurfacePtr surface = surfaceOf(shrink > 1 ? shrinkPicture(*p, shrink) : *p);
            cairo_set_source_surface(cr.get(), surface.get(), x, y);
            cairo_paint(cr.get());
            x += p->width / shrink + gap;
            rowHeight = std::max(rowHeight, p->height / shrink);
        }
        y += rowHeight + gap;
    }
    return pictureOf(sheet.get());
}

}  // namespace render
