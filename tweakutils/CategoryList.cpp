// The toolkit's categories and its Magicien class, listed for the runtime to attach when the library loads.
#include "Magicien.h"
#include "NSAttributedString+color.h"
#include "UIColor+Tarnwick.h"
#include "UIColor+TarnwickAnalysis.h"
#include "UIColor+TarnwickImages.h"
#include "UIImage+Color.h"

#include <objc/category.h>

namespace {

using objc::classFunction;
using objc::instanceFunction;

// The functions whose C++ form does not match the method exactly.
id mainColoursInImageDetail(id image, int detail) { return mainColoursInImage(image, detail); }
// The caller owns the buffer and frees it, as with the method's result.
unsigned char* rgbaPixelsBuffer(id image) { return rgbaPixels(image).release(); }

constexpr objc_method_entry kUIColorTarnwickInstanceMethods[] = {
    instanceFunction<"lighterColor", &lighterColor>(),
    instanceFunction<"darkerColor", &darkerColor>(),
    instanceFunction<"inverseColor", &inverseColor>(),
    instanceFunction<"midColorFrom:", &midColorFrom>(),
    instanceFunction<"offsetColor", &offsetColor>(),
    instanceFunction<"isLightColor", &isLightColor>(),
    instanceFunction<"thumbnailWithSize:", &thumbnailWithSize>(),
};

constexpr objc_method_entry kUIColorTarnwickClassMethods[] = {
    classFunction<"tw_colorFromHexString:", &tw_colorFromHexString>(),
    classFunction<"tw_hexStringFromColor:", &tw_hexStringFromColor>(),
    classFunction<"imageWithColor:andBounds:", &imageWithColorAndBounds>(),
    classFunction<"mainColoursInImage:detail:", &mainColoursInImageDetail>(),
    classFunction<"averageColorForImage:", &averageColorForImage>(),
    classFunction<"imageIsLightColor:", &imageIsLightColor>(),
    classFunction<"imageIsAllWhite:", &imageIsAllWhite>(),
};

constexpr objc_method_entry kUIImageColorInstanceMethods[] = {
    instanceFunction<"roundedImageWithRadius:", &roundedImageWithRadius>(),
    instanceFunction<"imageWithTint:", &imageWithTint>(),
    instanceFunction<"scaledToSize:", &scaledToSize>(),
    instanceFunction<"vImageScaledImageWithSize:", &vImageScaledImageWithSize>(),
    instanceFunction<"imageWithBrightness:", &imageWithBrightness>(),
    instanceFunction<"averageColor", &averageColor>(),
    instanceFunction<"luminosity", &luminosity>(),
    instanceFunction<"rgbaPixels", &rgbaPixelsBuffer>(),
    instanceFunction<"removeWhiteColor", &removeWhiteColor>(),
    instanceFunction<"isSameImage:", &isSameImage>(),
    instanceFunction<"hasAlpha", &hasAlpha>(),
};

constexpr objc_method_entry kNSAttributedStringColorInstanceMethods[] = {
    instanceFunction<"replaceColorsWith:", &replaceColorsWith>(),
};

constexpr objc_category_entry kCategories[] = {
    {"UIColor", "Tarnwick", kUIColorTarnwickInstanceMethods, kUIColorTarnwickClassMethods},
    {"UIImage", "Color", kUIImageColorInstanceMethods, {}},
    {"NSAttributedString", "color", kNSAttributedStringColorInstanceMethods, {}},
};

}  // namespace

// Found by name when the library is opened; the only symbol of the toolkit that leaves the library.
extern "C" __attribute__((visibility("default"))) constinit const objc_image_info objc_catlist{
    std::span<const objc_class_entry>(&kMagicienClass, 1), kCategories};
