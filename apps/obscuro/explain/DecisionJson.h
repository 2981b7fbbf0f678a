// The JSON form of a decision the library recorded, shared by scenes, previews, inspect and the studio.
#pragma once

#include "../scene/TweakProbe.h"

#include <nlohmann/json.hpp>

namespace obscuro::explain {

// A value a decision was given or gave, in the forms scene results use (objectJson): a colour as
// `obscuro colour` prints it, an image as {"image": IMAGE}, a boxed number or flag as itself,
// another object as {"object": class name}; null for nil.
nlohmann::ordered_json decisionValueJson(const scene::DecisionValue& value);

// {"entry", "selector", "step", "given", "result"}: the procedure (its HookTable entry, null
// when the library does not name it), the step that decided and the two values.
nlohmann::ordered_json decisionJson(const scene::DecisionRecord& decision);

}  // namespace obscuro::explain
