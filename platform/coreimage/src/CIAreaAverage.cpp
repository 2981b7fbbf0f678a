// "CIAreaAverage": the mean premultiplied pixel over an extent, as a one-pixel image.
#include "Bitmap.h"
#include "FilterKind.h"

namespace coreimage {

CIImage* areaAverageOutput(const CIFilter& filter) {
    const CIImage* image = inputImage(filter, "inputImage");
    const CIVector* extentVector = inputVector(filter, "inputExtent");
    if (!image || !extentVector) return nil;

    std::optional<PixelRect> area =
        PixelRect::around(CGRectMake(extentVector->at(0), extentVector->at(1), extentVector->at(2), extentVector->at(3)));
    if (!area) return CIImage::imageWithBitmap(std::make_shared<Bitmap>(PixelRect{0, 0, 1, 1}));

    // Pixels of the area outside the image are clear: they add nothing but still count.
    const Bitmap& source = *image->bitmap;
    PixelRect covered = area->intersect(source.extent);
    double sum[4] = {0, 0, 0, 0};
    for (long y = covered.y; y < covered.y + covered.height; ++y)
        for (long x = covered.x; x < covered.x + covered.width; ++x) {
            Pixel p = source.at(x, y);
            for (int c = 0; c < 4; ++c) sum[c] += p[c];
        }
    double count = double(area->width) * double(area->height);
    auto result = std::make_shared<Bitmap>(PixelRect{area->x, area->y, 1, 1});
    for (int c = 0; c < 4; ++c) result->pixels[0][c] = float(sum[c] / count);
    return CIImage::imageWithBitmap(std::move(result));
}

}  // namespace coreimage
