// PNG encoding of straight RGBA pixels with libpng at a low zlib level and one fixed row filter, opaque pictures as RGB.
#include <render/PNGEncoding.h>

#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace render {

namespace {

[[noreturn]] void fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

void appendToString(png_structp png, png_bytep data, size_t count) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), count);
}

void flushNothing(png_structp) {}

int filterBits(RowFilter filter) {
    switch (filter) {
    case RowFilter::none: return PNG_FILTER_NONE;
    case RowFilter::sub: return PNG_FILTER_SUB;
    case RowFilter::up: return PNG_FILTER_UP;
    case RowFilter::paeth: return PNG_FILTER_PAETH;
    case RowFilter::adaptive: return PNG_ALL_FILTERS;
    }
    return PNG_FILTER_NONE;
}

// libpng's part, kept free of objects with destructors between setjmp and the calls that may
// jump back to it.
bool encodeRows(const uint8_t* rgba, png_uint_32 width, png_uint_32 height, bool opaque, const PNGCompression& compression,
                std::string* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, ignoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, appendToString, flushNothing);
    // zlib hands its output over in pieces of this size: the default of 8 kB costs a call per few rows.
    png_set_compression_buffer_size(png, 256 * 1024);
    png_set_compression_level(png, compression.zlibLevel);
    png_set_compression_strategy(png, compression.runLengthOnly ? Z_RLE : Z_DEFAULT_STRATEGY);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filterBits(compression.filter));
    png_set_IHDR(png, info, width, height, 8, opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    if (opaque) png_set_filler(png, 0, PNG_FILLER_AFTER);  // the alpha bytes are left out as the rows are written
    const size_t rowBytes = size_t(width) * 4;
    for (png_uint_32 y = 0; y < height; ++y) png_write_row(png, rgba + size_t(y) * rowBytes);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string encodePNG(const uint8_t* rgba, int width, int height, const PNGCompression& compression) {
    std::string out;
    if (!rgba || width <= 0 || height <= 0) return out;
    // The file is a little larger than the pixels at worst, and a screen packs to a tenth of them:
    // reserving that much spares most of the string's regrowth.
    out.reserve(size_t(width) * height / 8 + 1024);
    // A screen is opaque: without its alpha bytes zlib has a quarter less to pack.
    bool opaque = true;
    const uint8_t* end = rgba + size_t(width) * height * 4;
    for (const uint8_t* alpha = rgba + 3; alpha < end && opaque; alpha += 4) opaque = *alpha == 255;
    if (!encodeRows(rgba, png_uint_32(width), png_uint_32(height), opaque, compression, &out)) out.clear();
    return out;
}

}  // namespace render
