// The private classes of UIKit, the media player, and the keyboard that exist here by runtime name.
#pragma once

#include <span>

namespace platform {

// One private class: its runtime name, its superclass's runtime name and what it is on the phone.
struct PrivateClass {
    const char* name;
    const char* superclass;
    const char* role;
};

// Every private class registered when libplatform loads, each superclass before its subclasses.
// Classes the public ones build their views from (a table cell's separator, a bar's background)
// are among them, and so is every private class the product names; their stock methods are
// described with the public class that uses them or in the table's source.
std::span<const PrivateClass> privateClasses();

}  // namespace platform
