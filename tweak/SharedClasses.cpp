// The remembered lookups shared between the image-view and button replacements.
#include "SharedClasses.h"

namespace obscuro {

constinit RememberedClass keyboardDockItemButton{"UIKeyboardDockItemButton"};
constinit RememberedClass personalMixPlayButton{"_TtCC5Music15PersonalMixCellP33_C58AA72C234558D4D8BB9A14DBF342D610PlayButton"};

}  // namespace obscuro
