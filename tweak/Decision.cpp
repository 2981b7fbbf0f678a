// The decision observer, and how scalar values are shown to it.
#include "Decision.h"

#include <Foundation/Foundation.h>

namespace obscuro {

constinit std::atomic<DecisionObserver> decisionObserver{nullptr};

void setDecisionObserver(DecisionObserver observer) { decisionObserver.store(observer); }

namespace {
Class number() { return objc_getClass("NSNumber"); }
}  // namespace

id observedValue(bool value) { return msg<id>(number(), sel<"numberWithBool:">(), static_cast<BOOL>(value)); }
id observedValue(long value) { return msg<id>(number(), sel<"numberWithInteger:">(), value); }
id observedValue(unsigned long value) { return msg<id>(number(), sel<"numberWithUnsignedInteger:">(), value); }
id observedValue(double value) { return msg<id>(number(), sel<"numberWithDouble:">(), value); }

}  // namespace obscuro
