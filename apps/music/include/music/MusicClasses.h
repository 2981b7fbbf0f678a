// The Music app's own classes, registered under the runtime names the app gives them on the phone.
#pragma once

#include <objc/runtime.h>

#include <set>
#include <span>
#include <string>
#include <vector>

namespace music {

// One class of the Music app as the runtime knows it.
struct MusicClass {
    // How the app's code and the product spell it: the dotted form for a top-level Swift class
    // ("Music.NavigationBar"), the runtime name for everything else (nested and private Swift
    // classes, Objective-C classes).
    const char* name;
    // Runtime name of the superclass the class has on the phone.
    const char* superclass;
    // Adds the class's own instance variables and methods before it is registered; nil when
    // the class only inherits (its stock behaviour is its UIKit superclass's).
    void (*addBehaviour)(Class cls);
    // What the class is, and any behaviour of its own beyond what it inherits.
    const char* note;
};

// Every Music-app class, superclasses before their subclasses.
std::span<const MusicClass> musicClasses();

// The runtime name a table name registers under: "Music.NavigationBar" → "_TtC5Music13NavigationBar";
// any other name is already a runtime name and comes back unchanged.
std::string runtimeName(const MusicClass& musicClass);

// Registers the Music app's classes, except those named in `absent` (dotted or runtime names),
// so that a host can stand in for an app version that lacks them. May be called again: a class
// registered by an earlier call that is now absent is hidden from lookups, and a hidden one that
// is no longer absent comes back; a class already present is left as it is. Returns the names
// of classes that could not be registered because their superclass is not in the process.
std::vector<std::string> registerMusicClasses(const std::set<std::string>& absent = {});

// View classes of other tweaks that the product leaves alone where it finds them: "SparkBatteryView"
// (a UILabel) and "BarmojiCollectionView" (a UICollectionView). Not part of the Music app, so
// registered only by a host that wants to stand in for a device with those tweaks installed.
std::vector<std::string> registerOtherTweakClasses();

}  // namespace music
