// The simulated Music app's identity on the device, and starting it in a host process.
#pragma once

namespace music {

// As the phone's Music app: what tweak filters name, and where its bundle lies on the device.
inline constexpr const char* kBundleIdentifier = "com.apple.Music";
inline constexpr const char* kExecutableName = "Music";
inline constexpr const char* kBundlePath = "/Applications/Music.app";

// Makes this process the Music app on the current device (device::setRoot first): creates
// the shared application, makes kBundlePath the main bundle with the app's identifier and
// executable name, and lets the app's asset catalogue answer named images (see
// <music/MusicAssets.h>). The app's classes are registered separately, with
// registerMusicClasses, so that a host can choose which of them the app lacks. May be called
// again, for instance after the device changed.
void startMusicApp();

}  // namespace music
