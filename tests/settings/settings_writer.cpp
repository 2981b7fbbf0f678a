// A second settings writer for the concurrency tests: writes COUNT keys PREFIX0… through a page of the bundle (forever when COUNT is 0),
// or, given a STEP, COUNT keys and then stops at that step of writing one more.
#include "write_pause_points.h"

#include <settings/SettingsSession.h>

#include <Foundation/Foundation.h>
#include <device/device.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: settings_writer DEVICE PAGE PREFIX COUNT [temporary|half|rename]\n");
        return 2;
    }
    auto pause = argc == 6 ? write_pauses::stepNamed(argv[5]) : write_pauses::Step::none;
    if (argc == 6 && pause == write_pauses::Step::none) {
        std::fprintf(stderr, "settings_writer: no step %s\n", argv[5]);
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
    bool pausing = pause != write_pauses::Step::none;
    bool forever = count == 0 && !pausing;
    long last = pausing ? count : count - 1;  // when pausing, the key whose write stops
    for (long i = 0; forever || i <= last; ++i) {
        objc::AutoreleasePool pool;
        if (pausing && i == count) write_pauses::pauseAt(pause);
        auto* specifier = msg<PSSpecifier*>(PSSpecifier::class_(), sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                                            static_cast<NSString*>(NSSTR("Writer")), static_cast<id>(page->controller.get()),
                                            sel<"setPreferenceValue:specifier:">(), sel<"readPreferenceValue:">(), static_cast<Class>(nullptr),
                                            static_cast<long>(PSEditTextCell), static_cast<Class>(nullptr));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(objc::str(argv[3] + std::to_string(i))), static_cast<id>(NSSTR("key")));
        msg<void>(specifier, sel<"setProperty:forKey:">(), static_cast<id>(NSSTR("com.tarnwick.obscurosettings")), static_cast<id>(NSSTR("defaults")));
        msg<void>(specifier, sel<"performSetterWithValue:">(), static_cast<id>(objc::str(std::to_string(i))));
        if (forever || pausing) {
            // Written and renamed into place: this key survives whatever happens next.
            std::printf("%ld\n", i);
            std::fflush(stdout);
        }
    }
    return 0;
}
