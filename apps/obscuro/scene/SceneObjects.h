// The objects a scene made: the ids it named them by, and the references that keep them alive.
#pragma once

#include "ValueJson.h"

#include <objc/Strong.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace obscuro::scene {

class SceneObjects {
public:
    struct Named {
        std::string name;
        objc::Strong<objc_object> object;
    };

    // Names `object` (and holds it); throws SceneError naming `where` for a name used before.
    void add(const std::string& name, id object, const std::string& where);
    // Holds an object for the length of the scene, named or not.
    void keep(objc::Strong<objc_object> object) { kept_.push_back(std::move(object)); }

    // The object of an id; nil for an id the scene did not give.
    id named(const std::string& name) const;
    // The id of an object; nothing for an object the scene did not name.
    std::optional<std::string> idOf(id object) const;
    SceneIdOf idOfFunction() const {
        return [this](id object) { return idOf(object); };
    }

    // The named objects in the order they were made.
    const std::vector<Named>& all() const { return named_; }

private:
    std::vector<Named> named_;
    std::vector<objc::Strong<objc_object>> kept_;
    std::unordered_map<std::string, std::size_t> byName_;
    std::unordered_map<id, std::string> nameOf_;
};

}  // namespace obscuro::scene
