// Private classes that the image-view and button replacements both test, looked up in one place.
#pragma once

#include "ClassTests.h"

namespace obscuro {

extern RememberedClass keyboardDockItemButton;
extern RememberedClass personalMixPlayButton;

}  // namespace obscuro
