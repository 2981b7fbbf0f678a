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
// "now-playing", "mini-player", "search", "lyrics", "action-sheet", "missing-artwork",
// "for-you", "browse", "radio", "playlists", "artists", "up-next", "connect", "onboarding",
// "alert", "passcode", "refresh", "videos", "links".
std::vector<std::string> screenNames();

// Builds the screen `name` in a new window of kWindowWidth × kWindowHeight and shows it the
// way the app does: the window's root is the app's tab bar controller with a navigation
// controller (of the app's bar class) per tab; the screen selects its tab, pushes its page
// onto the tab, is presented over the Library tab, or joins a controller as its child (the
// mini player, lyrics). Each page's view is loaded (viewDidLoad) and filled before it is
// shown, the window is made key and visible (viewWillAppear:/viewDidAppear:) and the whole
// tree gets its layout passes before and after any presentation. Views are made
// from the app's classes by name, with the app's stock light colours and its asset
// catalogue's images, so method replacements meet the calls they were written for; a class
// the app lacks is stood in for by its UIKit superclass. Needs the Music app started
// (startMusicApp, registerMusicClasses). Returns the window (owned); nil for an unknown name.
objc::Strong<objc_object> showScreen(std::string_view name);

}  // namespace music::screens
