// A second settings writer for the concurrency tests: writes COUNT keys PREFIX0… through a page of the bundle (forever when COUNT is 0).
#include <settings/SettingsSession.h>

#include <Foundation/Foundation.h>
#include <device/device.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: settings_writer DEVICE PAGE PREFIX COUNT\n");
        return 2;
    }
    device::setRoot(argv[1]);
    std::string error;
    auto session = settings::SettingsSession::open("obscurosettings", &error);
    const settings::Page* page = session ? session->page("obscurosettings", argv[2]) : nullptr;
    if (!page) {
        std::fprintf(stderr, "settings_writer: %s\n", error.c_str());
        return 1;
    }
    long count = std::atol(argv[4]);
    for (long i = 0; count == 0 || i < count; ++i) {
        objc::AutoreleasePool pool;
        auto* specifier = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                            static_cast<NSString*>(NSSTR("Writer")), static_cast<id>(page->controller.get()),
                                            sel<"setPreferenceValue:specifier:">(), sel<"readPreferenceValue:">(), static_cast<Class>(nullptr),
                                            static_cast<long>(PSEditTextCell), static_cast<Class>(nullptr));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(argv[3] + std::to_string(i))), static_cast<id>(NSSTR("key")));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(NSSTR("com.tarnwick.obscurosettings")), static_cast<id>(NSSTR("defaults")));
        msg<void>(specifier, sel<"performSetterWithValue:">(), static_cast<id>(objc::str(std::to_string(i))));
        if (count == 0) {
            // Written and renamed into place: this key survives whatever happens next.
            std::printf("%ld\n", i);
            std::fflush(stdout);
        }
    }
    return 0;
}
