// The appearance machinery as the view classes use it: proxies by class and replay at creation.
#pragma once

#include <objc/objc.h>

class UIView;

namespace platform::uikit {

// The proxy of `cls` (borrowed; proxies live for the process).
id appearanceProxyFor(Class cls);
// Replays the recorded calls of every class in the view's class chain, most general first.
void applyAppearance(UIView* view);

}  // namespace platform::uikit
