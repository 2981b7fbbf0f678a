// Running one scene: the Music app started in-process on a private device, the scene's objects and steps, the report.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <stdexcept>

namespace obscuro::scene {

// Something outside the scene went wrong (the device cannot be copied, a notification never
// arrived); the command exits 1.
class RunFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct RunOptions {
    std::filesystem::path device;  // the device to copy; never changed
    bool explain = false;          // record every background decision
};

// Runs `scene` (see the README's Scenes section) and returns the report. The app is started
// in this process, so a process runs one scene. Throws SceneError for faults of the scene
// (with a message naming the object or step) and RunFailure for the rest.
nlohmann::ordered_json runScene(const nlohmann::ordered_json& scene, const RunOptions& options);

}  // namespace obscuro::scene
