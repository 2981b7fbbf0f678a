// Property-list values (the settings file's) to JSON and back.
#pragma once

#include <objc/Strong.h>

#include <nlohmann/json.hpp>

namespace settings {

// Booleans, integers, reals, strings, arrays and dictionaries as JSON; nil as null; data and
// dates by their description.
nlohmann::json jsonFromValue(id value);

// The property-list value of a JSON value (owned); nil for null. Object keys become string keys.
objc::Strong<objc_object> valueFromJson(const nlohmann::json& value);

}  // namespace settings
