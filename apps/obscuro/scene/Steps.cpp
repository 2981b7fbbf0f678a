// Performing scene steps, each of the four kinds the schema knows.
#include "Steps.h"

#include "DeviceSection.h"
#include "SceneError.h"
#include "SceneSchema.h"

#include <UIKit/UIView.h>
#include <objc/NSException.h>

namespace obscuro::scene {

using nlohmann::ordered_json;

void StepRunner::perform(const ordered_json& step, std::size_t index, ordered_json& results) {
    std::string where = "step " + std::to_string(index);
    ScenePart part = stepPart(step, where);
    checkPart(step, part, where);
    switch (part) {
    case ScenePart::sendStep: send(step, index, where, results); break;
    case ScenePart::layoutStep: layout(step, where); break;
    case ScenePart::reloadStep: reload(step, where); break;
    default: add(step, where); break;  // ScenePart::addStep, the last kind stepPart gives
    }
}

void StepRunner::send(const ordered_json& step, std::size_t index, std::string where, ordered_json& results) {
    const std::string& selectorName = partField(step, ScenePart::sendStep, "send", where)->get_ref<const std::string&>();
    where += " (send " + selectorName + ")";
    const std::string& to = partField(step, ScenePart::sendStep, "to", where)->get_ref<const std::string&>();
    id receiver = messenger_.resolveReceiver(to, where);
    std::string returned;
    objc::Value value = messenger_.send(receiver, selectorName, &step, ScenePart::sendStep, where, &returned);
    if (returned == "v") return;
    results.push_back({{"step", index}, {"value", resultJson(value, sel_registerName(selectorName.c_str()), objects_.idOfFunction())}});
    // A result of the new, alloc and copy families is owned by the caller: the scene.
    if (std::holds_alternative<id>(value) && returnsOwned(selectorName)) objc_autorelease(std::get<id>(value));
}

void StepRunner::layout(const ordered_json& step, const std::string& where) {
    const std::string& name = partField(step, ScenePart::layoutStep, "layout", where)->get_ref<const std::string&>();
    id view = messenger_.resolveObject(name, where + " (layout)");
    if (!object_isKindOfClass(view, UIView::class_())) throw SceneError(where + " (layout): not a view");
    try {
        platform::layoutTree(static_cast<UIView*>(view));
    } catch (const NSException& exception) {
        throw SceneError(where + " (layout): raised " + exception.name() + ": " + exception.reason());
    }
}

// Rewrites device files (as the settings pages would), then announces the change.
void StepRunner::reload(const ordered_json& step, const std::string& where) {
    const ordered_json& section = *partField(step, ScenePart::reloadStep, "reload", where);
    if (!section.is_null() && !(section.is_boolean() && section.get<bool>())) applyDeviceSection(section, where + " (reload)");
    settings_.announce(where + " (reload)");
}

void StepRunner::add(const ordered_json& step, const std::string& where) {
    std::string at = where + " (add)";
    const std::string& to = partField(step, ScenePart::addStep, "to", at)->get_ref<const std::string&>();
    id parent = messenger_.resolveObject(to, at);
    if (!object_isKindOfClass(parent, UIView::class_())) throw SceneError(at + ": the parent is not a view");
    id child = builder_.createNode(*partField(step, ScenePart::addStep, "add", at), at, false);
    if (!object_isKindOfClass(child, UIView::class_())) throw SceneError(at + ": only views can be added");
    ObjectBuilder::addSubview(parent, child, at);
}

}  // namespace obscuro::scene
