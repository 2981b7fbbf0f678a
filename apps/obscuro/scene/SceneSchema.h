// The keys a scene may hold, per section, object and step kind, and the check of scene JSON against them.
#pragma once

#include "SceneError.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace obscuro::scene {

// Every part of a scene that is a JSON object of named keys.
enum class ScenePart {
    scene,        // the file itself
    device,       // "device", and the section of a reload step
    addedClass,   // an entry of "classes"
    object,       // an entry of "objects" or "subviews", and the object of an add step
    initialiser,  // an object's "init"
    controller,   // an object's "controller"
    sendStep,
    layoutStep,
    reloadStep,
    addStep,
    image,        // the {"image": …} argument
};

// The check runs as the runner reaches each part, not over the whole file first: a scene with
// several faults is refused for the one the runner meets first, whether it is a key of the
// wrong type or an unknown class, selector or id.
//
// Refuses `value` (with a SceneError naming `where`) unless it is an object of the part's keys.
// Most parts refuse their first unknown key here; the parts applied key by key (device, image)
// refuse each key as it is reached, with checkPartEntry.
void checkPart(const nlohmann::ordered_json& value, ScenePart part, const std::string& where);

// The value of `key` in a part checkPart accepted, refused unless it has the key's type;
// nullptr when the key is absent (or null, for a key whose null means absent). A required key
// that is absent is refused. `where` names the part as the message should.
const nlohmann::ordered_json* partField(const nlohmann::ordered_json& value, ScenePart part, std::string_view key, const std::string& where);

// One key of a part applied key by key, as it is reached: refused when the part has no such
// key or when `value` does not have its type.
void checkPartEntry(ScenePart part, std::string_view key, const nlohmann::ordered_json& value, const std::string& where);

// The fault of a key whose value has its type but is unusable all the same (a fill that is no
// colour), in the words a mistyped value of that key is refused with.
SceneError partKeyError(ScenePart part, std::string_view key, const std::string& where);

// The kind of a step: the one step key it holds ("send", "layout", "reload" or "add").
ScenePart stepPart(const nlohmann::ordered_json& step, const std::string& where);

}  // namespace obscuro::scene
