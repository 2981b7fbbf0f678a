// The shape of every decision the replacements make: the step that decided and its outcome, and the one observer of them all.
#pragma once

#include <objc/message.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace obscuro {

// A step of a decision procedure as the procedure numbers it: a whole step ("3") or a
// sub-step of one ("6.6"), a major and a minor number with minor 0 for a whole step.
struct Step {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;

    constexpr Step() = default;
    constexpr Step(int wholeStep, int subStep = 0)  // NOLINT: a bare number is a whole step
        : major(static_cast<std::uint8_t>(wholeStep)), minor(static_cast<std::uint8_t>(subStep)) {}
    friend constexpr bool operator==(Step, Step) = default;
};

// A replacement with a single rule numbers it 2; step 1 is the call going through unchanged
// (the product off, or the rule's condition unmet).
constexpr Step kPassedThrough{1};
constexpr Step kRuleApplied{2};

// What a procedure decided: the step that decided and what it decided.
template <class Outcome>
struct Decided {
    Step step;
    Outcome outcome;
};

// Observes every decision of every replacement while set (tools only; nil in the app): the
// HookTable entry, the receiver, the step, the value given and the value that resulted.
// Scalars arrive as NSNumbers; the objects are borrowed for the call.
using DecisionObserver = void (*)(std::size_t entry, id receiver, Step step, id given, id result);
void setDecisionObserver(DecisionObserver observer);

extern constinit std::atomic<DecisionObserver> decisionObserver;

// What an observer is shown of a value: objects as they are, scalars boxed.
inline id observedValue(id value) { return value; }
id observedValue(bool value);
id observedValue(long value);
id observedValue(unsigned long value);
id observedValue(double value);

// Reports a decision to the observer, if one is set; with none, one relaxed load.
template <class Given, class Result>
inline void reportDecision(std::size_t entry, id receiver, Step step, Given given, Result result) {
    if (DecisionObserver observer = decisionObserver.load(std::memory_order_relaxed)) [[unlikely]]
        observer(entry, receiver, step, observedValue(given), observedValue(result));
}

}  // namespace obscuro
