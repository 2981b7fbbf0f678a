// Making a scene's objects: views and other objects by class, their initialisers, controllers and subviews.
#pragma once

#include "Messaging.h"
#include "SceneObjects.h"

#include <CoreGraphics/CGGeometry.h>
#include <objc/Strong.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace obscuro::scene {

class ObjectBuilder {
public:
    ObjectBuilder(SceneObjects& objects, Messenger& messenger) : objects_(objects), messenger_(messenger) {}

    // The scene's "objects" (an array the schema accepted; none when null), in order; the
    // parents of their controllers once every object exists, so a scene can name a parent
    // that comes later.
    void createObjects(const nlohmann::ordered_json* objects);

    // Makes one object part and, below it, its controller and subviews. Returns the object
    // borrowed (the scene holds it). A controller's parent is adopted at once unless
    // `deferParents`.
    id createNode(const nlohmann::ordered_json& node, const std::string& where, bool deferParents);

    // Adds `child` to `parent`, refusing what addSubview: raises.
    static void addSubview(id parent, id child, const std::string& where);

private:
    struct PendingParent {
        id controller;
        std::string parent;
        std::string where;
    };

    objc::Strong<objc_object> instantiate(Class cls, const nlohmann::ordered_json& node, bool isView, CGRect frame, const std::string& at);
    void attachController(id view, const nlohmann::ordered_json& spec, const std::string& where, bool deferParent);
    void adoptChild(const PendingParent& pending);

    SceneObjects& objects_;
    Messenger& messenger_;
    std::vector<PendingParent> pendingParents_;
};

}  // namespace obscuro::scene
