// The contact sheet: pictures scaled down and laid out in rows on grey, placed pixel by pixel.
#include "PictureSurface.h"

#include <render/ContactSheet.h>

#include <algorithm>
#include <cstring>

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

namespace {

// The sheet's grey, as Cairo's 0.5 rounds to bytes.
constexpr uint8_t kSheetGrey = 128;

// Lays `picture` over the opaque sheet with its top left at (left, top): opaque pixels are
// copied, translucent ones blended over what is there, clear ones leave it.
void placePicture(const Picture& picture, int left, int top, Picture& sheet) {
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* in = &picture.rgba[std::size_t(y) * picture.width * 4];
        uint8_t* out = &sheet.rgba[(std::size_t(top + y) * sheet.width + left) * 4];
        for (int x = 0; x < picture.width; ++x, in += 4, out += 4) {
            unsigned a = in[3];
            if (a == 255) std::memcpy(out, in, 4);
            else if (a != 0)
                for (int c = 0; c < 3; ++c) out[c] = uint8_t((in[c] * a + out[c] * (255 - a) + 127) / 255);
        }
    }
}

}  // namespace

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
    Picture sheet{width, height, std::vector<uint8_t>(std::size_t(width) * height * 4, kSheetGrey)};
    for (std::size_t alpha = 3; alpha < sheet.rgba.size(); alpha += 4) sheet.rgba[alpha] = 255;
    int y = gap;
    for (const auto& row : rows) {
        int x = gap;
        int rowHeight = 0;
        for (const Picture* p : row) {
            if (!p || p->width <= 0 || p->rgba.size() != std::size_t(p->width) * p->height * 4) continue;
            if (shrink > 1) placePicture(shrinkPicture(*p, shrink), x, y, sheet);
            else placePicture(*p, x, y, sheet);
            x += p->width / shrink + gap;
            rowHeight = std::max(rowHeight, p->height / shrink);
        }
        y += rowHeight + gap;
    }
    return sheet;
}

}  // namespace render
