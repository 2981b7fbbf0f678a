// Pictures made small for a contact sheet, so that a sheet can be laid out from pictures shrunk where they were drawn.
#pragma once

#include <render/Renderer.h>

namespace render {

// The picture scaled down by `shrink` (≥ 1; whole pixels, the remainder cut off), filtered as
// contactSheet filters it: contactSheet(rows of shrunk pictures, gap, 1) is the same picture as
// contactSheet(rows, gap, shrink). A shrink of 1 (or less) gives the picture unchanged.
Picture shrinkPicture(const Picture& picture, int shrink);

}  // namespace render
