// Fuzz target: a settings page loaded from an arbitrary specifier file, its values read from an arbitrary settings file.
#include "scratch_device.h"

#include <Foundation/Foundation.h>
#include <Preferences/Preferences.h>

namespace {

constexpr const char* kBundle = "/Library/PreferenceBundles/Fuzz.bundle";
constexpr const char* kSpecifierFile = "/Library/PreferenceBundles/Fuzz.bundle/Root.plist";
// The domain the seeds name in their "defaults".
constexpr const char* kSettings = "/var/mobile/Library/Preferences/com.fuzz.settings.plist";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::placeFile("/Library/PreferenceBundles/Fuzz.bundle/Info.plist", "");
    return 0;
}

// The input is the specifier file, then the settings file of the domain com.fuzz.settings,
// separated by a fuzzing::kFileSeparator line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    objc::AutoreleasePool pool;
    auto parts = fuzzing::splitFiles({reinterpret_cast<const char*>(data), size});
    fuzzing::placeFile(kSpecifierFile, parts[0]);
    fuzzing::placePart(kSettings, parts, 1);

    auto controller = objc::adopt(msg<id>(objc_getClass("PSListController"), sel<"new">()));
    msg<void>(controller.get(), sel<"setBundle:">(), msg<id>(objc_getClass("NSBundle"), sel<"bundleWithPath:">(), objc::str(kBundle)));
    id specifiers = msg<id>(controller.get(), sel<"loadSpecifiersFromPlistName:target:">(), NSSTR("Root"), controller.get());
    if (!object_isKindOfClass(specifiers, NSArray::class_())) fuzzing::broken("a specifier file loads as an array");
    msg<void>(controller.get(), sel<"setSpecifiers:">(), specifiers);

    // Every row as a page shows it: its value read through its getter, its detail page made.
    for (const auto& element : static_cast<NSArray*>(specifiers)->objects()) {
        id specifier = element.get();
        if (!object_isKindOfClass(specifier, objc_getClass("PSSpecifier"))) fuzzing::broken("every row is a specifier");
        msg<id>(specifier, sel<"performGetter">());
        msg<id>(controller.get(), sel<"readPreferenceValue:">(), specifier);
        msg<id>(controller.get(), sel<"controllerForSpecifier:">(), specifier);
        msg<id>(controller.get(), sel<"specifierForID:">(), msg<id>(specifier, sel<"identifier">()));
        msg<id>(specifier, sel<"description">());
    }
    return 0;
}
