// Hiding the classes a scene names absent, registering the Music app's classes, and adding the scene's own.
#include "SceneClasses.h"

#include "SceneError.h"
#include "SceneSchema.h"

#include <music/MusicClasses.h>
#include <objc/runtime.h>
#include <objc/swift.h>

#include <cstdio>
#include <set>

namespace obscuro::scene {

namespace {

using nlohmann::ordered_json;

std::string describeJson(const ordered_json& value) { return value.dump(-1, ' ', false, ordered_json::error_handler_t::replace); }

void addClass(const ordered_json& entry, const std::string& where) {
    checkPart(entry, ScenePart::addedClass, where);
    const std::string& name = entry["name"].get_ref<const std::string&>();
    const std::string& superName = entry["superclass"].get_ref<const std::string&>();
    Class superclass = objc_getClass(superName.c_str());
    if (!superclass) throw SceneError(where + ": unknown superclass '" + superName + "'");
    if (name.empty() || objc_getClass(name.c_str())) throw SceneError(where + ": the class '" + name + "' already exists");
    std::string runtimeName = objc::swiftMangledClassName(name).value_or(name);
    Class cls = objc_allocateClassPair(superclass, runtimeName.c_str(), 0);
    if (!cls) throw SceneError(where + ": the class '" + name + "' cannot be added");
    objc_registerClassPair(cls);
}

}  // namespace

HiddenClasses::~HiddenClasses() {
    for (const std::string& name : names_) objc_unhideClass(name.c_str());
}

void HiddenClasses::hide(const std::string& name) {
    objc_hideClass(name.c_str());
    names_.push_back(name);
}

void prepareClasses(const ordered_json& scene, HiddenClasses& hidden) {
    std::set<std::string> absent;
    if (const ordered_json* names = partField(scene, ScenePart::scene, "absentClasses", "")) {
        for (const auto& name : *names) {
            if (!name.is_string() || name.get_ref<const std::string&>().empty())
                throw SceneError("absentClasses: expected class names, not " + describeJson(name));
            absent.insert(name.get<std::string>());
        }
    }
    for (const std::string& name : absent) {
        hidden.hide(name);
        if (auto mangled = objc::swiftMangledClassName(name)) hidden.hide(*mangled);
    }
    for (const std::string& name : music::registerMusicClasses(absent))
        std::fprintf(stderr, "obscuro scene: note: %s is absent too: its superclass is absent\n", name.c_str());

    const ordered_json* added = partField(scene, ScenePart::scene, "classes", "");
    if (!added) return;
    for (std::size_t i = 0; i < added->size(); ++i) addClass((*added)[i], "classes[" + std::to_string(i) + "]");
}

}  // namespace obscuro::scene
