// Reading ThemeState, the hooks, the objects' stored state and the recorded decisions into the report's sections.
#include "Report.h"

#include "../colour_json.h"
#include "../explain/DecisionJson.h"

#include <Foundation/NSObjCRuntime.h>
#include <Foundation/NSString.h>

namespace obscuro::scene {

namespace {

using nlohmann::ordered_json;

// ThemeState's flags, each with the value it has before the library's first load.
struct FlagName {
    const char* name;
    bool startingValue;
};
constexpr FlagName kFlags[] = {{"enabled", false},           {"enableDarkKeyboard", true}, {"useCustomColors", false},
                               {"noctisIntegration", false}, {"displayArtworkShadow", false}, {"useDarkPlaceholder", true},
                               {"colorFlowMusicEnabled", true}};
constexpr const char* kColourNames[] = {"bgColor", "darkerBgColor", "mainTextColor", "barColor", "tintColor", "textDrawingColor"};

}  // namespace

void DecisionLog::collect(const TweakProbe& probe, const SceneObjects& objects, std::optional<long> step) {
    for (const DecisionRecord& decision : probe.decisions()) {
        ordered_json entry;
        entry["step"] = step ? ordered_json(*step) : ordered_json(nullptr);
        if (auto name = objects.idOf(decision.view)) entry["object"] = *name;
        else if (decision.view) entry["object"] = {{"object", objc::utf8(NSStringFromClass(object_getClass(decision.view)))}};
        else entry["object"] = nullptr;
        entry["entry"] = decision.entry ? ordered_json(*decision.entry) : ordered_json(nullptr);
        entry["selector"] = decision.selector;
        entry["given"] = explain::decisionValueJson(decision.given);
        entry["decidedBy"] = decision.step;
        entry["result"] = explain::decisionValueJson(decision.result);
        entries_.push_back(std::move(entry));
    }
}

ordered_json themeJson(const std::optional<TweakProbe>& probe) {
    ordered_json theme;
    if (!probe) {
        for (const FlagName& flag : kFlags) theme[flag.name] = flag.startingValue;
        theme["theme"] = nullptr;
        for (const char* colour : kColourNames) theme[colour] = nullptr;
        return theme;
    }
    nlohmann::json state = probe->state();
    for (const FlagName& flag : kFlags) theme[flag.name] = state["flags"][flag.name];
    id name = probe->variable("theme");
    theme["theme"] = name && object_isKindOfClass(name, NSString::class_()) ? ordered_json(objc::utf8(name)) : ordered_json(nullptr);
    for (const char* colour : kColourNames) theme[colour] = cli::colourJson(probe->variable(colour));
    return theme;
}

ordered_json hooksJson(const std::optional<TweakProbe>& probe) {
    if (!probe) return {{"installed", 0}, {"missing", ordered_json::array()}};
    return ordered_json(probe->state()["hooks"]);
}

ordered_json objectsJson(const SceneObjects& objects, const StockTextGetters& stockText) {
    ordered_json out = ordered_json::object();
    for (const auto& object : objects.all()) out[object.name] = storedStateJson(object.object.get(), objects.idOfFunction(), stockText);
    return out;
}

}  // namespace obscuro::scene
