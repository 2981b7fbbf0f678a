// Stock methods of the private classes that need more than their superclass gives them.
#pragma once

#include <objc/objc.h>

#include <string_view>

namespace platform::uikit {

// Adds instance variables and methods to a private class before it is registered.
using AddStock = void (*)(Class cls);

// The stock additions of the private class with this runtime name, or nullptr.
AddStock stockFor(std::string_view runtimeName);

}  // namespace platform::uikit
