// The tweak library's one initialiser: load the settings, then hook, configure and check, once.
#include "AppearanceDefaults.h"
#include "GlyphImageCache.h"
#include "HookTable.h"
#include "Preferences.h"
#include "ThemeState.h"

#include <CoreFoundation/CoreFoundation.h>
#include <Foundation/Foundation.h>

namespace obscuro {

namespace {

constexpr const char* kColorFlowLibrary = "/Library/MobileSubstrate/DynamicLibraries/ColorFlow4.dylib";
constexpr const char* kColorFlowSettings = "/var/mobile/Library/Preferences/com.aldren.colorflow4.plist";

void checkColorFlow() {
    id manager = msg<id>(objc_getClass("NSFileManager"), sel<"defaultManager">());
    if (!msg<BOOL>(manager, sel<"fileExistsAtPath:">(), objc::str(kColorFlowLibrary))) {
        colorFlowMusicEnabled = false;
        return;
    }
    id settings = objc::autorelease(
        msg<id>(msg<id>(objc_getClass("NSDictionary"), sel<"alloc">()), sel<"initWithContentsOfFile:">(), objc::str(kColorFlowSettings)));
    if (!settings) return;
    id keys = msg<id>(settings, sel<"allKeys">());
    if (!msg<BOOL>(keys, sel<"containsObject:">(), NSSTR("MusicEnabled"))) return;
    id value = msg<id>(settings, sel<"objectForKey:">(), NSSTR("MusicEnabled"));
    if (msg<BOOL>(value, sel<"respondsToSelector:">(), sel<"boolValue">())) colorFlowMusicEnabled = msg<BOOL>(value, sel<"boolValue">());
}

__attribute__((constructor)) void obscuroConstructor() {
    objc::AutoreleasePool pool;
    createGlyphImageCache();
    loadPreferences(nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!enabled) return;
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, loadPreferences,
                                    CFSTR("com.tarnwick.obscurosettings/settingschanged"), nullptr,
                                    CFNotificationSuspensionBehaviorCoalesce);
    installHookTable();
    configureAppearanceDefaults();
    checkColorFlow();
}

}  // namespace

}  // namespace obscuro
