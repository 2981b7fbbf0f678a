// The background decision: which colour a view gets when the app sets its background.
#pragma once

#include "Decision.h"
#include "HookTable.h"

namespace obscuro {

// The step that decided (1 to 16) and the colour the view gets (borrowed or autoreleased).
using BackgroundDecision = Decided<id>;

// Decides the background of `view` given `colour`; pure apart from reading ThemeState and
// the view tree, so that tools can explain a decision.
BackgroundDecision decideBackground(id view, id colour);

// UIView setBackgroundColor:
template <std::size_t Entry>
void setBackgroundColorReplacement(id self, SEL cmd, id colour) {
    BackgroundDecision decision = decideBackground(self, colour);
    reportDecision(Entry, self, decision.step, colour, decision.outcome);
    callThrough<Entry>(self, cmd, decision.outcome);
}

}  // namespace obscuro
