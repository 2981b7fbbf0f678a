// Fuzz target: the colour-string parser and the hex colour reader on arbitrary text.
#include "UIColor+Tarnwick.h"
#include "scratch_device.h"

#include <Foundation/Foundation.h>
#include <colorpicker/libcolorpicker.h>

#include <cmath>

namespace {

// Both readers promise an RGB colour whose components are readable and within 0…1, and the
// hex writer a "#RRGGBB" string for it.
void checkColour(id colour, const char* reader) {
    if (!object_isKindOfClass(colour, objc_getClass("UIColor"))) fuzzing::broken(reader);
    double components[4] = {-1, -1, -1, -1};
    if (!msg<BOOL>(colour, sel<"getRed:green:blue:alpha:">(), &components[0], &components[1], &components[2], &components[3]))
        fuzzing::broken("a parsed colour reads as red, green, blue and alpha");
    for (double component : components)
        if (!std::isfinite(component) || component < 0 || component > 1) fuzzing::broken("colour components lie within 0...1");
    std::string hex = objc::utf8(tw_hexStringFromColor(colour));
    if (hex.size() != 7 || hex[0] != '#' || hex.find_first_not_of("0123456789ABCDEF", 1) != std::string::npos)
        fuzzing::broken("tw_hexStringFromColor gives #RRGGBB");
}

}  // namespace

// The input is the stored value, optionally followed by the fallback after a
// fuzzing::kFileSeparator line; without one the fallback is nil.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    objc::AutoreleasePool pool;
    auto parts = fuzzing::splitFiles({reinterpret_cast<const char*>(data), size});
    id stored = objc::str(parts[0]);
    id fallback = parts.size() > 1 ? objc::str(parts[1]) : nil;

    checkColour(LCPParseColorString(stored, fallback), "LCPParseColorString never answers nil");
    // A stored value that is no string leaves the text to the fallback reader.
    checkColour(LCPParseColorString(msg<id>(objc_getClass("NSNumber"), sel<"numberWithInt:">(), 7), stored),
                "LCPParseColorString reads its fallback");

    id hexColour = tw_colorFromHexString(stored);
    checkColour(hexColour, "tw_colorFromHexString never answers nil");
    double alpha = 0;
    double ignored = 0;
    msg<BOOL>(hexColour, sel<"getRed:green:blue:alpha:">(), &ignored, &ignored, &ignored, &alpha);
    if (alpha != 1) fuzzing::broken("tw_colorFromHexString gives opaque colours");
    return 0;
}
