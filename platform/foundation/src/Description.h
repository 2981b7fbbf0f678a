// Descriptions of collections in the phone's old-style property-list layout.
#pragma once

#include <objc/objc.h>

#include <string>

namespace foundation {

// "(\n    a,\n    \"b c\"\n)" for arrays and "{\n    key = value;\n}" for dictionaries, nested
// collections indented four spaces per level; any other object gives its description.
std::string describeCollection(id object, int level = 0);

}  // namespace foundation
