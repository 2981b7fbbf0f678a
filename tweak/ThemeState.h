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

// Stores `value` (retained) in a ThemeState member with one pointer write, and retires what it
// held: released at once unless a ThemeReading is in progress, else once none is.
void replaceMember(id& member, id value);

// Sets a flag with one byte write that a ThemeReading on another thread may read.
void setFlag(bool& flag, bool value);

// Everything of the library runs on the main thread, where the members are read directly,
// except the named-image replacement, which runs on any thread that loads a named image and
// reads its colours and flags through a ThemeReading. For as long as a reading is in progress,
// a colour replaced by a reload on the main thread is kept alive rather than released: the
// reading may hold it. Retired colours are released by the first replacement or the last
// reading to end that finds no reading in progress, so they pile up only while named-image
// loads overlap without a pause, and are let go at the first pause.
class ThemeReading {
public:
    ThemeReading();
    ~ThemeReading();
    ThemeReading(const ThemeReading&) = delete;
    ThemeReading& operator=(const ThemeReading&) = delete;

    // The member's current object; it stays alive until this reading ends.
    id colour(id& member) const;
    bool flag(bool& member) const;
};

}  // namespace obscuro
