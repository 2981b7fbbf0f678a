// The settings loader: reads the settings file and the theme into ThemeState, at load and on every change.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

namespace obscuro {

// Has the shape of a notification callback so that it can be registered directly; it
// ignores every argument.
void loadPreferences(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object,
                     CFDictionaryRef userInfo);

// Whether the installed edition of the Noctis dark-mode tweak is switched on; false when
// none is installed or its settings cannot be read.
bool noctisDarkModeEnabled();

}  // namespace obscuro
