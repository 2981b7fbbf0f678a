// The scene's classes: those left out of the runtime for its length, and those it adds.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace obscuro::scene {

// Hides class names for the length of one scene.
class HiddenClasses {
public:
    HiddenClasses() = default;
    ~HiddenClasses();
    HiddenClasses(const HiddenClasses&) = delete;
    HiddenClasses& operator=(const HiddenClasses&) = delete;

    void hide(const std::string& name);

private:
    std::vector<std::string> names_;
};

// Hides the scene's "absentClasses" (and their Swift runtime names) in `hidden`, registers the
// Music app's classes without them, and adds the scene's "classes". Absent classes leave the
// runtime before the app's classes are registered, so that a Music class whose superclass is
// absent is absent too; added classes come after both. Throws SceneError.
void prepareClasses(const nlohmann::ordered_json& scene, HiddenClasses& hidden);

}  // namespace obscuro::scene
