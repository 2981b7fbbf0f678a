// Creating scene objects as the scene describes them, parents before their subviews.
#include "ObjectCreation.h"

#include "SceneError.h"
#include "SceneSchema.h"

#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>
#include <objc/NSException.h>

#include <optional>

namespace obscuro::scene {

using nlohmann::ordered_json;

void ObjectBuilder::createObjects(const ordered_json* objects) {
    if (!objects) return;
    for (std::size_t i = 0; i < objects->size(); ++i) createNode((*objects)[i], "objects[" + std::to_string(i) + "]", true);
    for (const PendingParent& pending : pendingParents_) adoptChild(pending);
    pendingParents_.clear();
}

id ObjectBuilder::createNode(const ordered_json& node, const std::string& where, bool deferParents) {
    checkPart(node, ScenePart::object, where);
    std::string name;
    if (const ordered_json* given = partField(node, ScenePart::object, "id", where)) name = given->get<std::string>();
    std::string at = name.empty() ? where : where + ": object '" + name + "'";
    const std::string& className = partField(node, ScenePart::object, "class", at)->get_ref<const std::string&>();
    Class cls = objc_getClass(className.c_str());
    if (!cls) throw SceneError(at + ": unknown class '" + className + "'");
    bool isView = class_isSubclassOfClass(cls, UIView::class_());

    std::optional<CGRect> frame;
    if (const ordered_json* given = partField(node, ScenePart::object, "frame", at)) {
        objc::Value rect = argumentFromJson(*given, "{CGRect=dddd}", messenger_.resolver(), at + ": frame");
        const auto& fields = std::get<objc::StructValue>(rect).fields;
        frame = CGRectMake(fields[0], fields[1], fields[2], fields[3]);
    }
    objc::Strong<objc_object> object = instantiate(cls, node, isView, frame.value_or(CGRect{}), at);
    if (!name.empty()) objects_.add(name, object.get(), at);
    if (!isView && (node.contains("frame") || node.contains("tag") || node.contains("hidden") || node.contains("subviews") ||
                    node.contains("controller")))
        throw SceneError(at + ": frame, tag, hidden, subviews and controller belong to views; " + className + " is not one");
    if (isView) {
        auto* view = static_cast<UIView*>(object.get());
        if (frame) view->frame = *frame;
        if (const ordered_json* tag = partField(node, ScenePart::object, "tag", at)) view->tag = tag->get<long>();
        if (const ordered_json* hidden = partField(node, ScenePart::object, "hidden", at)) view->hidden = hidden->get<bool>();
        if (const ordered_json* controller = partField(node, ScenePart::object, "controller", at))
            attachController(view, *controller, at, deferParents);
        if (const ordered_json* subviews = partField(node, ScenePart::object, "subviews", at)) {
            for (std::size_t i = 0; i < subviews->size(); ++i) {
                id child = createNode((*subviews)[i], at + ": subviews[" + std::to_string(i) + "]", deferParents);
                addSubview(object.get(), child, at);
            }
        }
    }
    objects_.keep(object);
    return object.get();
}

// Views start with initWithFrame:, other objects with init, unless the scene names an initialiser.
objc::Strong<objc_object> ObjectBuilder::instantiate(Class cls, const ordered_json& node, bool isView, CGRect frame, const std::string& at) {
    id allocated = msg<id>(reinterpret_cast<id>(cls), sel<"alloc">());
    objc::Value made;
    try {
        if (const ordered_json* init = partField(node, ScenePart::object, "init", at)) {
            std::string where = at + ": init";
            checkPart(*init, ScenePart::initialiser, where);
            const std::string& selector = (*init)["send"].get_ref<const std::string&>();
            if (!inFamily(selector, "init")) throw SceneError(where + ": " + selector + " is not an initialiser (init…)");
            std::string returned;
            made = messenger_.send(allocated, selector, init, ScenePart::initialiser, where, &returned);
            if (returned != "@") throw SceneError(where + ": " + selector + " does not return an object");
        } else if (isView) {
            made = msg<id>(allocated, sel<"initWithFrame:">(), frame);
        } else {
            made = msg<id>(allocated, sel<"init">());
        }
    } catch (...) {
        objc_release(allocated);
        throw;
    }
    id object = std::holds_alternative<id>(made) ? std::get<id>(made) : nullptr;
    if (!object) throw SceneError(at + ": the initialiser returned nil");
    return objc::adopt(object);
}

void ObjectBuilder::addSubview(id parent, id child, const std::string& where) {
    try {
        msg<void>(parent, sel<"addSubview:">(), child);
    } catch (const NSException& exception) {
        throw SceneError(where + ": addSubview: raised " + exception.name() + ": " + exception.reason());
    }
}

// The view becomes the root view of a new controller, as a controller's loadView would leave
// it, but without viewDidLoad: the scene decides what happens next.
void ObjectBuilder::attachController(id view, const ordered_json& spec, const std::string& where, bool deferParent) {
    std::string at = where + ": controller";
    checkPart(spec, ScenePart::controller, at);
    const std::string& className = partField(spec, ScenePart::controller, "class", at)->get_ref<const std::string&>();
    Class cls = objc_getClass(className.c_str());
    if (!cls) throw SceneError(at + ": unknown class '" + className + "'");
    if (!class_isSubclassOfClass(cls, UIViewController::class_())) throw SceneError(at + ": " + className + " is not a view controller");
    std::string name;
    if (const ordered_json* given = partField(spec, ScenePart::controller, "id", at)) {
        name = given->get<std::string>();
        at = "controller '" + name + "'";
    }
    auto controller = objc::adopt(msg<id>(msg<id>(reinterpret_cast<id>(cls), sel<"alloc">()), sel<"init">()));
    if (!controller) throw SceneError(at + ": init returned nil");
    if (!name.empty()) objects_.add(name, controller.get(), at);
    objects_.keep(controller);
    msg<void>(controller.get(), sel<"setView:">(), view);
    if (const ordered_json* parent = partField(spec, ScenePart::controller, "parent", at)) {
        PendingParent pending{controller.get(), parent->get<std::string>(), at};
        if (deferParent) pendingParents_.push_back(pending);
        else adoptChild(pending);
    }
}

void ObjectBuilder::adoptChild(const PendingParent& pending) {
    id parent = objects_.named(pending.parent);
    if (!parent) throw SceneError(pending.where + ": parent: unknown object id '" + pending.parent + "'");
    if (!object_isKindOfClass(parent, UIViewController::class_()))
        throw SceneError(pending.where + ": parent: '" + pending.parent + "' is not a view controller");
    msg<void>(parent, sel<"addChildViewController:">(), pending.controller);
}

}  // namespace obscuro::scene
