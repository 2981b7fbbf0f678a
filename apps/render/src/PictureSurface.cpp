// Pictures and Cairo image surfaces: pixel access and the conversions both ways.
#include "PictureSurface.h"

#include <algorithm>
#include <cstring>

namespace render {

std::array<uint8_t, 4> Picture::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {0, 0, 0, 0};
    const uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

Picture pictureOf(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    Picture picture;
    picture.width = cairo_image_surface_get_width(surface);
    picture.height = cairo_image_surface_get_height(surface);
    picture.rgba.resize(static_cast<std::size_t>(picture.width) * picture.height * 4);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    uint8_t* out = picture.rgba.data();
    for (int y = 0; y < picture.height; ++y) {
        const unsigned char* row = data + std::size_t(y) * stride;
        for (int x = 0; x < picture.width; ++x, out += 4) {
            uint32_t argb;
            std::memcpy(&argb, row + x * 4, 4);
            straightPixel(argb, out);
        }
    }
    return picture;
}

SurfacePtr surfaceOf(const Picture& picture) {
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height), cairo_surface_destroy);
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* in = &picture.rgba[(static_cast<std::size_t>(y) * picture.width + x) * 4];
            unsigned a = in[3];
            uint32_t argb = a << 24;
            // Opaque pixels, most of a screen, need no multiplying; as in straightPixel, the
            // divisions were most of a conversion's time.
            if (a == 255) argb |= uint32_t(in[0]) << 16 | uint32_t(in[1]) << 8 | in[2];
            else if (a != 0)
                for (int i = 0; i < 3; ++i) argb |= ((in[i] * a + 127) / 255) << (16 - 8 * i);
            std::memcpy(data + y * stride + x * 4, &argb, 4);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

}  // namespace render
