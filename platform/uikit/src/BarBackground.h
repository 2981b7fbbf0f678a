// The background view that navigation bars, tab bars and search bars keep behind their content.
#pragma once

#include <objc/Strong.h>

class UIView;

namespace platform::uikit {

// Keeps `slot` holding a _UIBarBackground (a plain view when that class is absent) as the first
// subview of `bar`, filling it, and sends it setBackgroundColor: with the bar's colour: the bar's
// `barTintColor` when it has one, else a light grey for the default style or a dark one for the
// black style (`barStyle`), translucent while the bar answers YES to `translucent`. Everything is
// asked of the bar by message, so replacements of those getters decide the colour.
void layoutBarBackground(UIView* bar, objc::Strong<UIView>& slot);

}  // namespace platform::uikit
