// PNG encoding of straight RGBA pixels with libpng, fast enough to write every picture a preview draws.
#pragma once

#include <cstdint>
#include <string>

namespace render {

// The row filter every row is written with. One fixed filter (instead of libpng's choice per
// row) keeps the encoder from trying five, which was most of its time.
enum class RowFilter { none, sub, up, paeth, adaptive };

// How hard the encoder works. The same settings and pixels always give the same bytes.
struct PNGCompression {
    int zlibLevel = 1;  // 0 (stored) to 9
    RowFilter filter = RowFilter::none;
    bool runLengthOnly = false;  // zlib's Z_RLE strategy: matches only within runs of one byte
};

// The PNG file (8-bit RGBA, or RGB when every pixel is opaque; not interlaced, no ancillary
// chunks) of `width` × `height` pixels
// of straight RGBA, rows from the top without padding. Empty for no pixels or when libpng fails.
std::string encodePNG(const uint8_t* rgba, int width, int height, const PNGCompression& compression = {});

}  // namespace render
