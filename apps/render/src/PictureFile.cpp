// Pictures as PNG files: encoding, writing and reading back.
#include "PictureSurface.h"

#include <fstream>
#include <stdexcept>

namespace render {

namespace {

cairo_status_t appendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::string Picture::png() const {
    std::string bytes;
    if (width <= 0 || height <= 0) return bytes;
    SurfacePtr surface = surfaceOf(*this);
    cairo_surface_write_to_png_stream(surface.get(), appendToString, &bytes);
    return bytes;
}

void writePNG(const Picture& picture, const std::filesystem::path& path) {
    std::string bytes = picture.png();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (bytes.empty() || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush())
        throw std::runtime_error("cannot write the picture " + path.string());
}

Picture readPNG(const std::filesystem::path& path) {
    SurfacePtr surface(cairo_image_surface_create_from_png(path.c_str()), cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot read the picture " + path.string());
    if (cairo_image_surface_get_format(surface.get()) == CAIRO_FORMAT_ARGB32) return pictureOf(surface.get());
    SurfacePtr argb(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(surface.get()),
                                               cairo_image_surface_get_height(surface.get())),
                    cairo_surface_destroy);
    ContextPtr cr(cairo_create(argb.get()), cairo_destroy);
    cairo_set_source_surface(cr.get(), surface.get(), 0, 0);
    cairo_paint(cr.get());
    return pictureOf(argb.get());
}

}  // namespace render
