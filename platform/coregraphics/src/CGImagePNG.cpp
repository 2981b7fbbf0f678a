// PNG decoding with libpng into images, and deterministic PNG encoding of images.
#include "CGObjects.h"

#include <CoreGraphics/CGImagePNG.h>

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace {

constexpr png_uint_32 kMaxDimension = 32767;  // the largest surface Cairo draws
// Deflate packs at most 1032 bytes into one: a file shorter than its rows over this cannot hold them.
constexpr size_t kMaxDeflateRatio = 1032;
// The largest ancillary chunk (text, profile) read: libpng would otherwise allocate whatever a
// chunk's length field claims, gigabytes for a few damaged bytes.
constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1024 * 1024;

struct ReadCursor {
    const uint8_t* bytes;
    size_t length;
    size_t offset;
};

[[noreturn]] void failQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

void readFromMemory(png_structp png, png_bytep out, size_t count) {
    auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (count > cursor->length - cursor->offset) png_error(png, "truncated");
    std::memcpy(out, cursor->bytes + cursor->offset, count);
    cursor->offset += count;
}

void writeToVector(png_structp png, png_bytep data, size_t count) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

void flushNothing(png_structp) {}

struct Decoded {
    png_uint_32 width = 0, height = 0;
    int channels = 0;  // 1 grey, 4 RGBA or RGBX
    bool hasAlpha = false;
    std::vector<uint8_t> rows;
};

// Whether every chunk the bytes hold fits inside them. libpng sizes some chunk buffers by the
// length a chunk claims and clears them before reading, so a few bytes claiming a chunk of
// gigabytes would cost that much memory and time before the read runs out of data. libpng acts
// on a chunk's length as soon as it has read the length and the type, so a chunk is measured
// once those eight bytes are there, even when its CRC is cut off.
bool chunksFitInside(const uint8_t* bytes, size_t length) {
    constexpr size_t kSignature = 8, kHeader = 8, kCRC = 4;  // the header is the length and the type
    for (size_t at = kSignature; at + kHeader <= length;) {
        size_t claimed = (size_t(bytes[at]) << 24) | (size_t(bytes[at + 1]) << 16) | (size_t(bytes[at + 2]) << 8) | bytes[at + 3];
        if (claimed > length - at - kHeader) return false;
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) return true;
        at += kHeader + claimed + kCRC;
    }
    return true;  // what is left is too short for a chunk header; libpng reports the file as truncated
}

// Runs libpng over the bytes; false on any error. Kept free of objects with destructors between
// setjmp and the calls that may jump back.
bool decode(const uint8_t* bytes, size_t length, Decoded& out) {
    if (length < 8 || !chunksFitInside(bytes, length)) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, ignoreWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    ReadCursor cursor{bytes, length, 0};
    std::vector<png_bytep> rowPointers;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_user_limits(png, kMaxDimension, kMaxDimension);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_read_fn(png, &cursor, readFromMemory);
    png_read_info(png, info);
    png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    // Refused before the rows are allocated, or a few bytes claiming a large picture would cost gigabytes.
    if ((png_get_rowbytes(png, info) + 1) * height / kMaxDeflateRatio > length) png_error(png, "too little data for the size");
    int colorType = png_get_color_type(png, info);
    int bitDepth = png_get_bit_depth(png, info);
    bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;

    if (bitDepth == 16) png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (transparency) png_set_tRNS_to_alpha(png);
    bool gray = (colorType & PNG_COLOR_MASK_COLOR) == 0;
    bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || transparency;
    // Grey with alpha has no bitmap layout of its own here: it becomes RGBA.
    if (gray && alpha) png_set_gray_to_rgb(png);
    if (!gray && !alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    int channels = png_get_channels(png, info);
    size_t rowBytes = png_get_rowbytes(png, info);
    bool expected = (gray && !alpha) ? channels == 1 : channels == 4;
    if (!expected || rowBytes != size_t(width) * channels) png_error(png, "unexpected layout");
    out.rows.resize(rowBytes * height);
    rowPointers.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rowPointers[y] = out.rows.data() + size_t(y) * rowBytes;
    png_read_image(png, rowPointers.data());
    out.width = width, out.height = height, out.channels = channels, out.hasAlpha = alpha;
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool encode(const uint8_t* rows, png_uint_32 width, png_uint_32 height, int colorType, size_t rowBytes,
            std::vector<uint8_t>& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, ignoreWarning);
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
    png_set_write_fn(png, &out, writeToVector, flushNothing);
    // Fixed settings make the same pixels give the same bytes.
    png_set_compression_level(png, 6);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, width, height, 8, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (png_uint_32 y = 0; y < height; ++y) png_write_row(png, rows + size_t(y) * rowBytes);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

CGImageRef CGImageCreateWithPNGData(const void* bytes, size_t length) {
    if (!bytes || length < 8 || png_sig_cmp(static_cast<png_const_bytep>(bytes), 0, 8) != 0) return nullptr;
    Decoded decoded;
    if (!decode(static_cast<const uint8_t*>(bytes), length, decoded)) return nullptr;

    cg::ImageDescription description;
    description.width = decoded.width, description.height = decoded.height;
    std::optional<cg::PixelLayout> layout;
    if (decoded.channels == 1) {
        description.space = cg::Ref<CGColorSpace>::share(cg::sharedDeviceGray());
        description.bitsPerPixel = 8, description.bitmapInfo = kCGImageAlphaNone;
        layout = cg::PixelLayout::forImage(8, 8, kCGColorSpaceModelMonochrome, kCGImageAlphaNone);
    } else {
        description.space = cg::Ref<CGColorSpace>::share(cg::sharedDeviceRGB());
        description.bitsPerPixel = 32;
        description.bitmapInfo = decoded.hasAlpha ? kCGImageAlphaPremultipliedLast : kCGImageAlphaNoneSkipLast;
        // PNG stores straight alpha; it is premultiplied on the way in.
        layout = cg::PixelLayout::forImage(8, 32, kCGColorSpaceModelRGB,
                                           decoded.hasAlpha ? kCGImageAlphaLast : kCGImageAlphaNoneSkipLast);
    }
    description.bytesPerRow = size_t(decoded.width) * description.bitsPerPixel / 8;
    cairo_surface_t* surface = cairo_image_surface_create(layout->cairoFormat(), int(decoded.width), int(decoded.height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cg::importPixels(*layout, decoded.rows.data(), size_t(decoded.width) * decoded.channels,
                     cairo_image_surface_get_data(surface), size_t(cairo_image_surface_get_stride(surface)), 0, 0,
                     int(decoded.width), int(decoded.height));
    cairo_surface_mark_dirty(surface);
    return cg::makeImage(surface, description).leak();
}

CGImageRef CGImageCreateWithPNGDataProvider(CGDataProviderRef source, const CGFloat*, bool, CGColorRenderingIntent) {
    if (!source) return nullptr;
    return CGImageCreateWithPNGData(source->data, source->size);
}

std::vector<uint8_t> CGImageCopyPNGData(CGImageRef image) {
    if (!image) return {};
    cairo_surface_t* surface = image->surface;
    cairo_surface_flush(surface);
    int width = int(image->width), height = int(image->height);
    const uint8_t* pixels = cairo_image_surface_get_data(surface);
    size_t stride = size_t(cairo_image_surface_get_stride(surface));
    cairo_format_t format = cairo_image_surface_get_format(surface);

    int colorType, channels;
    std::optional<cg::PixelLayout> layout;
    if (format == CAIRO_FORMAT_A8) {
        colorType = PNG_COLOR_TYPE_GRAY, channels = 1;
    } else if (format == CAIRO_FORMAT_RGB24 && CGColorSpaceGetModel(image->space.get()) == kCGColorSpaceModelMonochrome) {
        colorType = PNG_COLOR_TYPE_GRAY, channels = 1;
        layout = cg::PixelLayout::forImage(8, 8, kCGColorSpaceModelMonochrome, kCGImageAlphaNone);
    } else if (format == CAIRO_FORMAT_RGB24) {
        colorType = PNG_COLOR_TYPE_RGB, channels = 3;
        layout = cg::PixelLayout::forImage(8, 24, kCGColorSpaceModelRGB, kCGImageAlphaNone);
    } else {
        colorType = PNG_COLOR_TYPE_RGB_ALPHA, channels = 4;
        layout = cg::PixelLayout::forImage(8, 32, kCGColorSpaceModelRGB, kCGImageAlphaLast);
    }
    size_t rowBytes = size_t(width) * channels;
    std::vector<uint8_t> rows(rowBytes * height);
    if (layout) {
        cg::exportPixels(*layout, format, pixels, stride, rows.data(), rowBytes, 0, 0, width, height);
    } else {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint8_t coverage = pixels[size_t(y) * stride + x];
                rows[size_t(y) * rowBytes + x] = image->isMask ? uint8_t(255 - coverage) : coverage;
            }
    }
    std::vector<uint8_t> out;
    if (!encode(rows.data(), png_uint_32(width), png_uint_32(height), colorType, rowBytes, out)) return {};
    return out;
}
