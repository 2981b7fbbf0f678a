// Replacements of UIImageView that turn glyphs and flat images into templates in the theme's colours.
#pragma once

#include "Decision.h"
#include "HookTable.h"

namespace obscuro {

// What an image assignment does: the step that decided (1 to 6.6), the tint set first (if
// any) and whether the image goes on in its template form.
struct ImageAssignment {
    Step step;
    bool setsTint;
    id tint;
    bool templated;
};

ImageAssignment decideImageAssignment(id imageView, id image);
// The tint an image view reports, given the one its saved implementation reports (step 1).
Decided<id> decideImageViewTint(id imageView, id reported);

// UIImageView tintColor
template <std::size_t Entry>
id imageViewTintColor(id self, SEL cmd) {
    id reported = callThrough<Entry, id>(self, cmd);
    Decided<id> decision = decideImageViewTint(self, reported);
    reportDecision(Entry, self, decision.step, reported, decision.outcome);
    return decision.outcome;
}

// UIImageView setImage:
template <std::size_t Entry>
void imageViewSetImage(id self, SEL cmd, id image) {
    ImageAssignment assignment = decideImageAssignment(self, image);
    if (assignment.setsTint) msg<void>(self, sel<"setTintColor:">(), assignment.tint);
    id assigned = assignment.templated ? msg<id>(image, sel<"imageWithRenderingMode:">(), 2L) : image;
    reportDecision(Entry, self, assignment.step, image, assigned);
    callThrough<Entry>(self, cmd, assigned);
}

}  // namespace obscuro
