// Behaviour of the few Music-app classes that do more than their UIKit superclass.
#pragma once

#include <objc/runtime.h>

#include <string_view>

namespace music {

// Adds a class's own instance variables and methods; runs after the class pair is allocated
// and before it is registered, since instance variables can only be added then.
using AddBehaviour = void (*)(Class cls);

// The behaviour of the class registered under `runtimeName`, or nil when it only inherits.
AddBehaviour behaviourFor(std::string_view runtimeName);

}  // namespace music
