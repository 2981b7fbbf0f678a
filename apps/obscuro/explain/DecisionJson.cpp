// Decisions and the values they carry, written as JSON.
#include "DecisionJson.h"

#include "../colour_json.h"
#include "../scene/ValueJson.h"

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSString.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIImage.h>

namespace obscuro::explain {

nlohmann::ordered_json decisionValueJson(const scene::DecisionValue& value) {
    if (!value.object) return value.plain;
    if (object_isKindOfClass(value.object, UIColor::class_())) return cli::colourJson(value.object);
    if (object_isKindOfClass(value.object, UIImage::class_())) return {{"image", scene::imageJson(value.object)}};
    return {{"object", objc::utf8(NSStringFromClass(object_getClass(value.object)))}};
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
