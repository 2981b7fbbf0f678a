// ThemeState: the theme's colours and the option flags that every replacement reads at call time.
#pragma once

#include <objc/runtime.h>

#define OBSCURO_EXPORT __attribute__((visibility("default")))

// The seven object members are exported under their own names for other tweaks and tools.
// Each holds a strong reference; replacing one releases the previous object.
extern "C" {
OBSCURO_EXPORT extern id bgColor;
OBSCURO_EXPORT extern id darkerBgColor;
OBSCURO_EXPORT extern id mainTextColor;
OBSCURO_EXPORT extern id barColor;
OBSCURO_EXPORT extern id tintColor;
OBSCURO_EXPORT extern id textDrawingColor;
OBSCURO_EXPORT extern id theme;
}

namespace obscuro {

// The flags are the library's own. Each is one byte holding 0 or 1.
extern bool enabled;
extern bool enableDarkKeyboard;
extern bool useCustomColors;
extern bool noctisIntegration;
extern bool displayArtworkShadow;
extern bool useDarkPlaceholder;
extern bool colorFlowMusicEnabled;

// Stores `value` (retained) in a ThemeState member and releases what it held: one pointer write.
void replaceMember(id& member, id value);

}  // namespace obscuro
