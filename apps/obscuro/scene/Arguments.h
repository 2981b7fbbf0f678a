// Scene arguments: tagged JSON made into objects, and JSON made into message arguments by signature.
#pragma once

#include <objc/invoke.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <string_view>

namespace obscuro::scene {

// Finds the object a scene names with {"ref": "id"} (an id or a key path); throws SceneError.
using ObjectResolver = std::function<id(const std::string& reference)>;

// Makes the object a tagged value describes (autoreleased, or a scene object borrowed):
//   {"color": "#RRGGBB"} | {"color": [r, g, b, a]} | {"white": [w, a]} | {"pattern": true}
//   {"number": 1.5} | {"string": "…"} | {"attributed": [["text", {name: value}], …]} | {"dict": {key: value}}
//   {"image": {"size": [w, h], "scale": s, "resizable": b, "fill": "#RRGGBB", "template": b}}
//   {"ref": "object id"} | {"class": "Name"} | null
// Plain strings, numbers, booleans and arrays become NSString, NSNumber and NSArray.
// Throws SceneError naming `where` for anything else.
id objectFromJson(const nlohmann::ordered_json& value, const ObjectResolver& resolve, const std::string& where);

// The argument a method whose argument type is `encoding` takes, from JSON: objects as above
// (a bare number or boolean is refused there: it is no object), numbers and booleans for scalars, [x, y, w, h] and the like for structs, a colour for a
// CGColor pointer, a selector name for a selector. Throws SceneError naming `where`.
objc::Value argumentFromJson(const nlohmann::ordered_json& value, std::string_view encoding, const ObjectResolver& resolve,
                             const std::string& where);

}  // namespace obscuro::scene
