// Replacements of UIImageView that turn glyphs and flat images into templates in the theme's colours.
#pragma once

#include "HookTable.h"

namespace obscuro {

// What an image assignment does: the step that decided, the tint set first (if any) and
// whether the image goes on in its template form.
struct ImageAssignment {
    int step;
    bool setsTint;
    id tint;
    bool templated;
};

ImageAssignment decideImageAssignment(id imageView, id image);
id decideImageViewTint(id imageView, id reported);

// UIImageView tintColor
template <std::size_t Entry>
id imageViewTintColor(id self, SEL cmd) {
    return decideImageViewTint(self, callThrough<Entry, id>(self, cmd));
}

// UIImageView setImage:
template <std::size_t Entry>
void imageViewSetImage(id self, SEL cmd, id image) {
    ImageAssignment assignment = decideImageAssignment(self, image);
    if (assignment.setsTint) msg<void>(self, sel<"setTintColor:">(), assignment.tint);
    callThrough<Entry>(self, cmd, assignment.templated ? msg<id>(image, sel<"imageWithRenderingMode:">(), 2L) : image);
}

}  // namespace obscuro
