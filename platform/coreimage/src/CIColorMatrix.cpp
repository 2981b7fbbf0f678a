// "CIColorMatrix": each pixel's unpremultiplied colour times a 4 × 4 matrix plus a bias, clamped to 0–1.
#include "Bitmap.h"
#include "FilterKind.h"

#include <algorithm>

namespace coreimage {

CIImage* colorMatrixOutput(const CIFilter& filter) {
    const CIImage* image = inputImage(filter, "inputImage");
    const CIVector* rows[4] = {inputVector(filter, "inputRVector"), inputVector(filter, "inputGVector"),
                               inputVector(filter, "inputBVector"), inputVector(filter, "inputAVector")};
    const CIVector* bias = inputVector(filter, "inputBiasVector");
    if (!image || !bias || std::find(std::begin(rows), std::end(rows), nullptr) != std::end(rows)) return nil;

    double m[4][5];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) m[r][c] = rows[r]->at(size_t(c));
        m[r][4] = bias->at(size_t(r));
    }
    const Bitmap& source = *image->bitmap;
    auto result = std::make_shared<Bitmap>(source.extent);
    for (size_t i = 0; i < source.pixels.size(); ++i) {
        const Pixel& p = source.pixels[i];
        double a = p[3];
        // Premultiplied storage keeps no colour under a clear pixel; the matrix sees black there.
        double in[4] = {a > 0 ? p[0] / a : 0, a > 0 ? p[1] / a : 0, a > 0 ? p[2] / a : 0, a};
        double out[4];
        for (int r = 0; r < 4; ++r)
            out[r] = std::clamp(m[r][0] * in[0] + m[r][1] * in[1] + m[r][2] * in[2] + m[r][3] * in[3] + m[r][4], 0.0, 1.0);
        Pixel& q = result->pixels[i];
        q = {float(out[0] * out[3]), float(out[1] * out[3]), float(out[2] * out[3]), float(out[3])};
    }
    return CIImage::imageWithBitmap(std::move(result));
}

}  // namespace coreimage
