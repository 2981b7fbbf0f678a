// Decisions and the values they carry, written as JSON.
#include "DecisionJson.h"

#include "../scene/ValueJson.h"

#include <optional>
#include <string>

namespace obscuro::explain {

nlohmann::ordered_json decisionValueJson(const scene::DecisionValue& value) {
    if (!value.object) return value.plain;
    return scene::objectJson(value.object, [](id) { return std::optional<std::string>(); });
}

nlohmann::ordered_json decisionJson(const scene::DecisionRecord& decision) {
    nlohmann::ordered_json out;
    out["entry"] = decision.entry ? nlohmann::ordered_json(*decision.entry) : nlohmann::ordered_json(nullptr);
    out["selector"] = decision.selector;
    out["step"] = decision.step;
    out["given"] = decisionValueJson(decision.given);
    out["result"] = decisionValueJson(decision.result);
    return out;
}

}  // namespace obscuro::explain
