// The Music app's screens: each built as the app builds it, in a phone-sized window, through the view life cycle.
#pragma once

#include <objc/Strong.h>
#include <objc/objc.h>

#include <string>
#include <string_view>
#include <vector>

namespace music::screens {

// The window the screens are laid out in, in points.
inline constexpr double kWindowWidth = 375;
inline constexpr double kWindowHeight = 812;

// Every screen's name, in the order a contact sheet shows them: "library", "album",
// "now-playing", "mini-player", "search", "lyrics", "action-sheet", "missing-artwork".
std::vector<std::string> screenNames();

// Builds the screen `name` in a new window of kWindowWidth × kWindowHeight and shows it the
// way the app does: the controllers' views are loaded (viewDidLoad), child controllers are
// added (willMoveToParentViewController:), the window is made key and visible
// (viewWillAppear:/viewDidAppear:) and the whole tree gets its layout passes. Views are made
// from the app's classes by name, with the app's stock light colours and its asset
// catalogue's images, so method replacements meet the calls they were written for; a class
// the app lacks is stood in for by its UIKit superclass. Needs the Music app started
// (startMusicApp, registerMusicClasses). Returns the window (owned); nil for an unknown name.
objc::Strong<objc_object> showScreen(std::string_view name);

}  // namespace music::screens
