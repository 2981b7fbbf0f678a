// Fuzz target: every image operation of the toolkit on images decoded from arbitrary PNG bytes, at arbitrary sizes.
#include "UIImage+Color.h"
#include "scratch_device.h"

#include <Foundation/Foundation.h>
#include <objc/NSException.h>

#include <cstring>

namespace {

// The first bytes of an input set the operations' numbers; the rest is the PNG.
struct Settings {
    std::int8_t width, height;    // points, for the two scalings
    std::uint8_t radius;          // tenths of a point
    std::uint8_t brightness;      // hundredths
    std::uint8_t tint[4];         // RGBA
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Settings settings{};
    if (size < sizeof settings) return 0;
    std::memcpy(&settings, data, sizeof settings);
    objc::AutoreleasePool pool;
    id bytes = msg<id>(objc_getClass("NSData"), sel<"dataWithBytes:length:">(), static_cast<const void*>(data + sizeof settings),
                       static_cast<unsigned long>(size - sizeof settings));
    id image = msg<id>(objc_getClass("UIImage"), sel<"imageWithData:">(), bytes);
    if (!image) return 0;

    CGSize target = CGSizeMake(settings.width, settings.height);
    id tint = msg<id>(objc_getClass("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), settings.tint[0] / 255.0,
                      settings.tint[1] / 255.0, settings.tint[2] / 255.0, settings.tint[3] / 255.0);
    roundedImageWithRadius(image, settings.radius / 10.0);
    imageWithTint(image, tint);
    scaledToSize(image, target);
    try {
        vImageScaledImageWithSize(image, target);
    } catch (const NSException& exception) {
        if (exception.name() != "HighQualityImageScalingFailureException") throw;
    }
    imageWithBrightness(image, settings.brightness / 100.0);
    averageColor(image);
    luminosity(image);
    rgbaPixels(image);
    removeWhiteColor(image);
    hasAlpha(image);
    if (!isSameImage(image, image)) fuzzing::broken("an image decoded from PNG is the same as itself");
    return 0;
}
