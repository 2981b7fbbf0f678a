// Naming scene objects and finding them again by id.
#include "SceneObjects.h"

#include "SceneError.h"

namespace obscuro::scene {

void SceneObjects::add(const std::string& name, id object, const std::string& where) {
    if (byName_.contains(name)) throw SceneError(where + ": the id '" + name + "' is used twice");
    byName_[name] = named_.size();
    named_.push_back({name, objc::retain(object)});
    nameOf_.emplace(object, name);
}

id SceneObjects::named(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : named_[it->second].object.get();
}

std::optional<std::string> SceneObjects::idOf(id object) const {
    auto it = nameOf_.find(object);
    if (it == nameOf_.end()) return std::nullopt;
    return it->second;
}

}  // namespace obscuro::scene
