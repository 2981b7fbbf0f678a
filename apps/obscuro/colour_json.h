// The JSON form of a colour, shared by every command that prints colours.
#pragma once

#include <objc/objc.h>

#include <nlohmann/json.hpp>

namespace obscuro::cli {

// {"hex": "#RRGGBB" | null, "rgba": [r, g, b, a] | null, "space": "rgb" | "white" | "pattern" | "other"};
// null for a nil colour. "hex" is the hex colour string the hooks compare, "rgba" what
// getRed:green:blue:alpha: reads (null when the colour cannot be read that way).
nlohmann::json colourJson(id colour);

}  // namespace obscuro::cli
