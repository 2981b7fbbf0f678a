// ThemeState storage, with the values it holds before the first load.
#include "ThemeState.h"

extern "C" {
id bgColor = nullptr;
id darkerBgColor = nullptr;
id mainTextColor = nullptr;
id barColor = nullptr;
id tintColor = nullptr;
id textDrawingColor = nullptr;
id theme = nullptr;
}

namespace obscuro {

bool enabled = false;
bool enableDarkKeyboard = true;
bool useCustomColors = false;
bool noctisIntegration = false;
bool displayArtworkShadow = false;
bool useDarkPlaceholder = true;
bool colorFlowMusicEnabled = true;

void replaceMember(id& member, id value) {
    id previous = member;
    member = objc_retain(value);
    objc_release(previous);
}

}  // namespace obscuro
