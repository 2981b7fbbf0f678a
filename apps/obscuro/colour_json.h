// The JSON form of a colour, shared by every command that prints colours.
#pragma once

#include <objc/objc.h>

#include <nlohmann/json.hpp>

#include <string_view>

namespace obscuro::cli {

// {"hex": "#RRGGBB" | null, "rgba": [r, g, b, a] | null, "space": "rgb" | "white" | "pattern" | "other"};
// null for a nil colour. "hex" is the hex colour string the hooks compare, "rgba" what
// getRed:green:blue:alpha: reads (null when the colour cannot be read that way).
nlohmann::json colourJson(id colour);

// The forms a colour argument may take, for error messages.
extern const char* const kColourForms;

// The colour a command-line argument names: "#RRGGBB" (read by tw_colorFromHexString, like a
// theme colour), "rgba(r,g,b,a)" or "white(w,a)" with finite decimals, or "pattern" (a colour
// that paints with a small two-tone tile); nil when it names none.
id colourArgument(std::string_view text);

}  // namespace obscuro::cli
