// Plus-darker compositing: the separable blend of two premultiplied pictures, written out per pixel.
#include <render/Compositing.h>

#include <algorithm>
#include <cstring>

namespace render {

PremultipliedPixel plusDarker(PremultipliedPixel source, PremultipliedPixel destination) {
    int sa = source[0], da = destination[0];
    PremultipliedPixel result{};
    result[0] = static_cast<uint8_t>(sa + da - (sa * da + 127) / 255);
    for (int i = 1; i < 4; ++i) {
        int s = source[i], d = destination[i];
        int blended = std::max(0, s * da + d * sa - sa * da);
        int value = (s * (255 - da) + d * (255 - sa) + blended + 127) / 255;
        result[i] = static_cast<uint8_t>(std::clamp(value, 0, static_cast<int>(result[0])));
    }
    return result;
}

void compositePlusDarker(cairo_surface_t* source, cairo_surface_t* destination, int x, int y) {
    if (cairo_surface_get_type(source) != CAIRO_SURFACE_TYPE_IMAGE || cairo_surface_get_type(destination) != CAIRO_SURFACE_TYPE_IMAGE) return;
    cairo_surface_flush(source);
    cairo_surface_flush(destination);
    int sw = cairo_image_surface_get_width(source), sh = cairo_image_surface_get_height(source);
    int dw = cairo_image_surface_get_width(destination), dh = cairo_image_surface_get_height(destination);
    const unsigned char* from = cairo_image_surface_get_data(source);
    unsigned char* to = cairo_image_surface_get_data(destination);
    if (!from || !to) return;
    int sstride = cairo_image_surface_get_stride(source), dstride = cairo_image_surface_get_stride(destination);
    for (int row = std::max(0, -y); row < sh && row + y < dh; ++row) {
        for (int column = std::max(0, -x); column < sw && column + x < dw; ++column) {
            uint32_t s, d;
            std::memcpy(&s, from + row * sstride + column * 4, 4);
            if ((s >> 24) == 0) continue;  // nothing of the source here: the destination stays
            unsigned char* out = to + (row + y) * dstride + (column + x) * 4;
            std::memcpy(&d, out, 4);
            auto split = [](uint32_t p) { return PremultipliedPixel{uint8_t(p >> 24), uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)}; };
            PremultipliedPixel r = plusDarker(split(s), split(d));
            uint32_t packed = uint32_t(r[0]) << 24 | uint32_t(r[1]) << 16 | uint32_t(r[2]) << 8 | r[3];
            std::memcpy(out, &packed, 4);
        }
    }
    cairo_surface_mark_dirty(destination);
}

}  // namespace render
