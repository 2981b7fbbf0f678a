// PNG encoding of straight RGBA or premultiplied ARGB32 pixels: rows filtered and deflated by igzip into one IDAT framed by libpng, or rows handed to libpng and zlib.
#include "PictureSurface.h"

#include <render/PNGEncoding.h>

#include <isa-l/igzip_lib.h>
#include <png.h>
#include <zlib.h>

#include <array>
#include <csetjmp>
#include <cstring>
#include <vector>

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

// A drawing buffer kept by each thread between pictures: a screen's rows are 8 to 11 MB, and
// memory the process has just been given costs a page fault for every 4 kB first touched.
uint8_t* keptBuffer(std::vector<uint8_t>& buffer, std::size_t size) {
    if (buffer.size() < size) buffer.resize(size);
    return buffer.data();
}

// The pixels to encode, as the caller holds them: straight RGBA bytes, or premultiplied native
// 32-bit words with alpha in the top byte, as a drawn surface holds them.
struct PixelRows {
    const uint8_t* data;
    std::size_t width, height, stride;
    bool premultiplied;

    const uint8_t* row(std::size_t y) const { return data + y * stride; }

    bool opaque() const {
        for (std::size_t y = 0; y < height; ++y) {
            const uint8_t* pixel = row(y);
            for (std::size_t x = 0; x < width; ++x, pixel += 4) {
                if (premultiplied) {
                    uint32_t argb;
                    std::memcpy(&argb, pixel, 4);
                    if (argb >> 24 != 255) return false;
                } else if (pixel[3] != 255) return false;
            }
        }
        return true;
    }

    // Row y as straight pixels of `channels` bytes: RGB (only asked for when every pixel is
    // opaque) or RGBA.
    void straightRow(std::size_t y, std::size_t channels, uint8_t* out) const {
        const uint8_t* in = row(y);
        if (!premultiplied) {
            if (channels == 4) std::memcpy(out, in, width * 4);
            else
                for (std::size_t x = 0; x < width; ++x) std::memcpy(out + x * 3, in + x * 4, 3);
            return;
        }
        for (std::size_t x = 0; x < width; ++x, in += 4, out += channels) {
            uint32_t argb;
            std::memcpy(&argb, in, 4);
            if (channels == 4) straightPixel(argb, out);
            else out[0] = uint8_t(argb >> 16), out[1] = uint8_t(argb >> 8), out[2] = uint8_t(argb);
        }
    }
};

// The rows as PNG scanlines, each its filter-type byte then the filtered bytes of its pixels
// (their alpha left out when the picture is opaque): none, sub or up.
const uint8_t* scanlines(const PixelRows& pixels, std::size_t channels, RowFilter filter) {
    thread_local std::vector<uint8_t> lines, rows;
    const std::size_t pixelBytes = pixels.width * channels, lineBytes = pixelBytes + 1;
    uint8_t* out = keptBuffer(lines, lineBytes * pixels.height);
    // The unfiltered bytes of this row and the one above, as "up" needs them.
    uint8_t* current = keptBuffer(rows, 2 * pixelBytes);
    uint8_t* above = current + pixelBytes;
    std::memset(above, 0, pixelBytes);
    for (std::size_t y = 0; y < pixels.height; ++y) {
        pixels.straightRow(y, channels, current);
        uint8_t* line = out + y * lineBytes;
        line[0] = static_cast<uint8_t>(filter == RowFilter::sub ? 1 : filter == RowFilter::up ? 2 : 0);
        uint8_t* bytes = line + 1;
        switch (filter) {
        case RowFilter::sub:
            for (std::size_t i = 0; i < pixelBytes; ++i) bytes[i] = uint8_t(current[i] - (i >= channels ? current[i - channels] : 0));
            break;
        case RowFilter::up:
            for (std::size_t i = 0; i < pixelBytes; ++i) bytes[i] = uint8_t(current[i] - above[i]);
            break;
        default: std::memcpy(bytes, current, pixelBytes);
        }
        std::swap(current, above);
    }
    return out;
}

constexpr std::array<std::size_t, ISAL_DEF_MAX_LEVEL + 1> kIgzipLevelBuffer = {0, ISAL_DEF_LVL1_DEFAULT, ISAL_DEF_LVL2_DEFAULT, ISAL_DEF_LVL3_DEFAULT};

// The scanlines as one zlib stream, by igzip; nothing written (0) when it fails. `out` holds at
// least what the scanlines take as stored blocks, which igzip falls back to.
std::size_t deflateWithIgzip(const uint8_t* in, std::size_t size, int level, std::vector<uint8_t>& out) {
    thread_local std::vector<uint8_t> levelBuffer;
    std::size_t bound = size + 5 * (size / 65535 + 1) + ISAL_DEF_MAX_HDR_SIZE;
    if (bound > UINT32_MAX) return 0;
    // Zeroed first: the initialiser leaves most of the internal state as it finds it, and state
    // left from the stack made the same rows pack differently now and then.
    isal_zstream stream{};
    isal_deflate_stateless_init(&stream);
    stream.level = static_cast<uint32_t>(level);
    stream.level_buf_size = static_cast<uint32_t>(kIgzipLevelBuffer[level]);
    stream.level_buf = kIgzipLevelBuffer[level] ? keptBuffer(levelBuffer, kIgzipLevelBuffer[level]) : nullptr;
    stream.gzip_flag = IGZIP_ZLIB;
    stream.end_of_stream = 1;
    stream.flush = NO_FLUSH;
    stream.next_in = const_cast<uint8_t*>(in);
    stream.avail_in = static_cast<uint32_t>(size);
    stream.next_out = keptBuffer(out, bound);
    stream.avail_out = static_cast<uint32_t>(bound);
    if (isal_deflate_stateless(&stream) != COMP_OK) return 0;
    return stream.total_out;
}

// libpng's part, kept free of objects with destructors between setjmp and the calls that may
// jump back to it. With `idat` the rows are already deflated and only framed here; without it
// libpng filters and zlib deflates them.
bool encodeWithLibpng(const uint8_t* rgba, png_uint_32 width, png_uint_32 height, bool opaque, const PNGCompression& compression,
                      const uint8_t* idat, std::size_t idatSize, std::string* out) {
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
    png_set_IHDR(png, info, width, height, 8, opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    if (idat) {
        png_write_info(png, info);
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), idat, idatSize);
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    } else {
        // zlib hands its output over in pieces of this size: the default of 8 kB costs a call per few rows.
        png_set_compression_buffer_size(png, 256 * 1024);
        png_set_compression_level(png, compression.level);
        png_set_compression_strategy(png, compression.runLengthOnly ? Z_RLE : Z_DEFAULT_STRATEGY);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, filterBits(compression.filter));
        png_write_info(png, info);
        if (opaque) png_set_filler(png, 0, PNG_FILLER_AFTER);  // the alpha bytes are left out as the rows are written
        const size_t rowBytes = size_t(width) * 4;
        for (png_uint_32 y = 0; y < height; ++y) png_write_row(png, rgba + size_t(y) * rowBytes);
        png_write_end(png, info);
    }
    png_destroy_write_struct(&png, &info);
    return true;
}

bool takesSettings(const PNGCompression& compression) {
    if (compression.deflater == Deflater::zlib) return compression.level >= 0 && compression.level <= 9;
    bool filterTaken = compression.filter == RowFilter::none || compression.filter == RowFilter::sub || compression.filter == RowFilter::up;
    return filterTaken && !compression.runLengthOnly && compression.level >= 0 && compression.level <= ISAL_DEF_MAX_LEVEL;
}

// The file of `pixels`, already checked to hold their rows.
std::string encode(const PixelRows& pixels, const PNGCompression& compression) {
    std::string out;
    if (!takesSettings(compression)) return out;
    // A screen is opaque: without its alpha bytes there is a quarter less to pack.
    bool opaque = pixels.opaque();
    const auto width = png_uint_32(pixels.width), height = png_uint_32(pixels.height);
    if (compression.deflater == Deflater::zlib) {
        const uint8_t* rgba = pixels.data;
        thread_local std::vector<uint8_t> straight;
        if (pixels.premultiplied) {
            rgba = keptBuffer(straight, pixels.width * pixels.height * 4);
            for (std::size_t y = 0; y < pixels.height; ++y) pixels.straightRow(y, 4, straight.data() + y * pixels.width * 4);
        }
        // The file is a little larger than the pixels at worst, and a screen packs to a tenth of
        // them: reserving that much spares most of the string's regrowth.
        out.reserve(pixels.width * pixels.height / 8 + 1024);
        if (!encodeWithLibpng(rgba, width, height, opaque, compression, nullptr, 0, &out)) out.clear();
        return out;
    }
    const std::size_t channels = opaque ? 3 : 4;
    const std::size_t lineBytes = pixels.width * channels + 1;
    const uint8_t* lines = scanlines(pixels, channels, compression.filter);
    thread_local std::vector<uint8_t> idat;
    std::size_t idatSize = deflateWithIgzip(lines, lineBytes * pixels.height, compression.level, idat);
    if (idatSize == 0) return out;
    out.reserve(idatSize + 128);
    if (!encodeWithLibpng(nullptr, width, height, opaque, compression, idat.data(), idatSize, &out)) out.clear();
    return out;
}

}  // namespace

std::string encodePNG(const uint8_t* rgba, int width, int height, const PNGCompression& compression) {
    if (!rgba || width <= 0 || height <= 0) return {};
    return encode({rgba, std::size_t(width), std::size_t(height), std::size_t(width) * 4, false}, compression);
}

std::string encodePremultipliedPNG(const uint8_t* argb32, int width, int height, int stride, const PNGCompression& compression) {
    if (!argb32 || width <= 0 || height <= 0 || stride < width * 4) return {};
    return encode({argb32, std::size_t(width), std::size_t(height), std::size_t(stride), true}, compression);
}

}  // namespace render
