// A small tweak the host tests load: it hooks, reads a device file, exports a ThemeState member and follows the settings notification.
#include <CoreFoundation/CFNotificationCenter.h>
#include <Foundation/Foundation.h>
#include <objc/Strong.h>
#include <objc/message.h>
#include <substrate/substrate.h>

#include <cstdio>
#include <utility>

// Read by the host as the tweaks' ThemeState member of that name.
extern "C" {
__attribute__((visibility("default"))) id theme = nullptr;
}

namespace {

constexpr const char* kSettingsFile = "/var/mobile/Library/Preferences/com.example.fixture.plist";

IMP savedViewDidLoad = nullptr;
IMP savedLayoutSubviews = nullptr;
IMP savedImageNamed = nullptr;

// The "theme" string of the settings file; nil when the file or the key is missing.
void readSettings() {
    objc::AutoreleasePool pool;
    id settings = msg<id>(objc_getClass("NSDictionary"), sel<"dictionaryWithContentsOfFile:">(), static_cast<id>(objc::str(kSettingsFile)));
    id value = msg<id>(settings, sel<"objectForKey:">(), static_cast<id>(NSSTR("theme")));
    objc_release(std::exchange(theme, objc_retain(value)));
}

void settingsChanged(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { readSettings(); }

void viewDidLoad(id self, SEL cmd) { reinterpret_cast<void (*)(id, SEL)>(savedViewDidLoad)(self, cmd); }

void layoutSubviews(id self, SEL cmd) { reinterpret_cast<void (*)(id, SEL)>(savedLayoutSubviews)(self, cmd); }

id imageNamed(Class self, SEL cmd, id name, id bundle, id traits) {
    return reinterpret_cast<id (*)(Class, SEL, id, id, id)>(savedImageNamed)(self, cmd, name, bundle, traits);
}

__attribute__((constructor)) void fixtureLoaded() {
    objc::AutoreleasePool pool;
    id bundle = msg<id>(objc_getClass("NSBundle"), sel<"mainBundle">());
    std::printf("fixture tweak: constructor ran in %s\n", objc::utf8(msg<id>(bundle, sel<"bundleIdentifier">())).c_str());
    std::fflush(stdout);

    readSettings();
    MSHookMessageEx(objc_getClass("Music.NowPlayingViewController"), sel<"viewDidLoad">(), reinterpret_cast<IMP>(&viewDidLoad),
                    &savedViewDidLoad);
    MSHookMessageEx(objc_getClass("Music.NoSuchView"), sel<"layoutSubviews">(), reinterpret_cast<IMP>(&layoutSubviews),
                    &savedLayoutSubviews);
    MSHookMessageEx(object_getClass(reinterpret_cast<id>(objc_getClass("UIImage"))),
                    sel<"imageNamed:inBundle:compatibleWithTraitCollection:">(), reinterpret_cast<IMP>(&imageNamed), &savedImageNamed);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, settingsChanged,
                                    CFSTR("com.tarnwick.obscurosettings/settingschanged"), nullptr,
                                    CFNotificationSuspensionBehaviorCoalesce);
}

}  // namespace
