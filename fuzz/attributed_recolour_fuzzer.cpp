// Fuzz target: recolouring attributed strings of arbitrary text, runs and attributes.
#include "NSAttributedString+color.h"
#include "UIColor+Tarnwick.h"
#include "scratch_device.h"

#include <Foundation/Foundation.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <objc/NSException.h>

namespace {

id colourFrom(FuzzedDataProvider& input) {
    double r = input.ConsumeFloatingPoint<double>(), g = input.ConsumeFloatingPoint<double>();
    double b = input.ConsumeFloatingPoint<double>(), a = input.ConsumeFloatingPoint<double>();
    if (input.ConsumeBool()) return msg<id>(objc_getClass("UIColor"), sel<"colorWithWhite:alpha:">(), r, a);
    return msg<id>(objc_getClass("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), r, g, b, a);
}

// Any value a run may carry: colours, and things that are not colours under colour names.
id attributeValueFrom(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: return colourFrom(input);
    case 1: return objc::str(input.ConsumeRandomLengthString(16));
    case 2: return msg<id>(objc_getClass("NSNumber"), sel<"numberWithDouble:">(), input.ConsumeFloatingPoint<double>());
    default: return msg<id>(objc_getClass("UIFont"), sel<"systemFontOfSize:">(), input.ConsumeFloatingPoint<double>());
    }
}

id attributeNameFrom(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: return NSForegroundColorAttributeName;
    case 1: return NSBackgroundColorAttributeName;
    case 2: return NSFontAttributeName;
    default: return objc::str(input.ConsumeRandomLengthString(8));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    objc::AutoreleasePool pool;
    FuzzedDataProvider input(data, size);
    id text = objc::str(input.ConsumeRandomLengthString(64));
    auto string = objc::adopt(msg<id>(msg<id>(NSMutableAttributedString::class_(), sel<"alloc">()), sel<"initWithString:">(), text));
    unsigned long length = msg<unsigned long>(string.get(), sel<"length">());

    // Runs: attributes over ranges that may reach past the end, which the platform refuses.
    for (int runs = input.ConsumeIntegralInRange(0, 8); runs > 0; --runs) {
        NSRange range = NSMakeRange(input.ConsumeIntegralInRange<unsigned long>(0, length + 2),
                                    input.ConsumeIntegralInRange<unsigned long>(0, length + 2));
        try {
            msg<void>(string.get(), sel<"addAttribute:value:range:">(), attributeNameFrom(input), attributeValueFrom(input), range);
        } catch (const NSException&) {
        }
    }

    id colour = input.ConsumeBool() ? nil : colourFrom(input);
    id receiver = input.ConsumeBool() ? msg<id>(string.get(), sel<"copy">()) : string.get();
    if (receiver != string.get()) objc::autorelease(receiver);
    id result = replaceColorsWith(receiver, colour);
    if (!result) fuzzing::broken("replaceColorsWith answers nil only for nil");
    if (result == receiver) return 0;

    // A new string: the same text, every character in the new colour.
    if (!msg<BOOL>(msg<id>(result, sel<"string">()), sel<"isEqualToString:">(), msg<id>(receiver, sel<"string">())))
        fuzzing::broken("recolouring keeps the text");
    id wanted = tw_hexStringFromColor(colour);
    for (const auto& run : objc::runs(static_cast<NSAttributedString*>(result))) {
        id hex = tw_hexStringFromColor(run.attributes->objectForKey(NSForegroundColorAttributeName));
        if (!msg<BOOL>(hex, sel<"isEqualToString:">(), wanted)) fuzzing::broken("every run has the new colour");
    }
    return 0;
}
