// PNG encoding of straight RGBA or premultiplied pixels, fast enough to write every picture a preview draws.
#pragma once

#include <cstdint>
#include <string>

namespace render {

// What packs the rows. igzip (ISA-L) deflates a drawn screen about five times as fast as zlib at
// its fastest level for a tenth more bytes; zlib, through libpng, offers every row filter and
// level, for comparison.
enum class Deflater { igzip, zlib };

// The row filter every row is written with. One fixed filter (instead of libpng's choice per
// row) keeps the encoder from trying five, which was most of its time.
enum class RowFilter { none, sub, up, paeth, adaptive };

// How hard the encoder works. The same settings and pixels always give the same bytes.
struct PNGCompression {
    Deflater deflater = Deflater::igzip;
    int level = 1;                     // igzip 0 to 3, zlib 0 (stored) to 9
    RowFilter filter = RowFilter::up;  // igzip takes none, sub or up
    bool runLengthOnly = false;        // zlib only: its Z_RLE strategy, matches only within runs of one byte
};

// The PNG file (8-bit RGBA, or RGB when every pixel is opaque; not interlaced, no ancillary
// chunks) of `width` × `height` pixels of straight RGBA, rows from the top without padding.
// Empty for no pixels, for settings the deflater does not take, or when encoding fails.
std::string encodePNG(const uint8_t* rgba, int width, int height, const PNGCompression& compression = {});

// The file encodePNG gives for the same pixels held premultiplied, as native 32-bit words with
// alpha in the top byte (a Cairo ARGB32 surface's layout), `stride` bytes from one row to the
// next; alpha is divided out as a Picture's conversion does it, so that a drawn surface is
// encoded without a straight copy first. Empty as encodePNG's is, or for a stride shorter than a row.
std::string encodePremultipliedPNG(const uint8_t* argb32, int width, int height, int stride, const PNGCompression& compression = {});

}  // namespace render
