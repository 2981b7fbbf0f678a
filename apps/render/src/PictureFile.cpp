// Pictures as PNG files: written with the fast encoder, read back through Cairo.
#include "PictureSurface.h"

#include <render/PNGEncoding.h>

#include <fstream>
#include <stdexcept>

namespace render {

std::string Picture::png() const {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<std::size_t>(width) * height * 4) return {};
    return encodePNG(rgba.data(), width, height);
}

void writePNGFile(const std::string& png, const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (png.empty() || !out.write(png.data(), static_cast<std::streamsize>(png.size())) || !out.flush())
        throw std::runtime_error("cannot write the picture " + path.string());
}

void writePNG(const Picture& picture, const std::filesystem::path& path) { writePNGFile(picture.png(), path); }

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
