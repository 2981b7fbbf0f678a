// The report of a scene: ThemeState, the hooks, what the objects store and, with --explain, the library's decisions.
#pragma once

#include "SceneObjects.h"
#include "StoredState.h"
#include "TweakProbe.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace obscuro::scene {

// The decisions the library records while a scene runs, each with the step it was made in.
class DecisionLog {
public:
    // Takes the decisions recorded since the last call, made during `step` (nothing while the
    // objects were being made). Every field the library gives is kept.
    void collect(const TweakProbe& probe, const SceneObjects& objects, std::optional<long> step);
    nlohmann::ordered_json take() { return std::move(entries_); }

private:
    nlohmann::ordered_json entries_ = nlohmann::ordered_json::array();
};

// ThemeState as the library holds it; without the library, the values it starts with.
nlohmann::ordered_json themeJson(const std::optional<TweakProbe>& probe);

// The library's installed and missing HookTable entries; none without the library.
nlohmann::ordered_json hooksJson(const std::optional<TweakProbe>& probe);

// What each named scene object stores, by id.
nlohmann::ordered_json objectsJson(const SceneObjects& objects, const StockTextGetters& stockText);

}  // namespace obscuro::scene
