// The background decision: which colour a view gets when the app sets its background.
#pragma once

#include "HookTable.h"

namespace obscuro {

struct BackgroundDecision {
    int step;   // the step of the procedure that decided, 1 to 16
    id colour;  // the colour the view gets (borrowed or autoreleased)
};

// Decides the background of `view` given `colour`; pure apart from reading ThemeState and
// the view tree, so that tools can explain a decision.
BackgroundDecision decideBackground(id view, id colour);

// Observes every decision while set (tools only); nil in the app.
using BackgroundDecisionObserver = void (*)(id view, id given, const BackgroundDecision& decision);
void setBackgroundDecisionObserver(BackgroundDecisionObserver observer);
void reportBackgroundDecision(id view, id given, const BackgroundDecision& decision);

// UIView setBackgroundColor:
template <std::size_t Entry>
void setBackgroundColorReplacement(id self, SEL cmd, id colour) {
    BackgroundDecision decision = decideBackground(self, colour);
    reportBackgroundDecision(self, colour, decision);
    callThrough<Entry>(self, cmd, decision.colour);
}

}  // namespace obscuro
