// Scene output values: message results, objects and images, in the scene's JSON forms.
#pragma once

#include <CoreGraphics/CGColor.h>
#include <objc/invoke.h>

#include <nlohmann/json.hpp>

#include <functional>
#include <optional>
#include <string>

namespace obscuro::scene {

// The scene id of an object the scene made, or nothing for any other object.
using SceneIdOf = std::function<std::optional<std::string>(id object)>;

// An object as a value: a scene object as {"ref": id}, a colour as `obscuro colour` prints it,
// {"string": …}, {"attributed": [[text, {name: value}], …]}, {"dict": {…}}, an array, a number
// or boolean for NSNumber, {"image": {…}} (see imageJson), {"class": name} for a class object,
// {"object": class name} for anything else, null for nil.
nlohmann::ordered_json objectJson(id object, const SceneIdOf& sceneId);

// A message result: objects as objectJson, scalars as JSON numbers and booleans, structs as
// arrays of their fields, selectors by name. A bare pointer from a getter whose name ends in
// "Color" or "color" is a Core Graphics colour (a layer's colours) and prints as a colour; any
// other pointer prints as {"pointer": true}, NULL as null.
nlohmann::ordered_json resultJson(const objc::Value& value, SEL selector, const SceneIdOf& sceneId);

// A Core Graphics colour (a layer's) as `obscuro colour` prints colours; null for NULL.
nlohmann::ordered_json cgColorJson(CGColorRef color);

// {"size": [w, h], "scale", "template", "resizable", "center": colour, "corner": colour}:
// the size in points, whether it draws as a template, whether it is a _UIResizableImage, and
// the colours of its centre pixel and of its pixel (0, 0). null for nil.
nlohmann::ordered_json imageJson(id image);

}  // namespace obscuro::scene
