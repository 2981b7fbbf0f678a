// Running one scene: the Music app started in-process on a private device, the scene's objects and steps, the report.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <memory>
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

// Many scenes one after another in one process, for a caller that runs thousands (the fuzz
// target): starting the app and loading the library cost more than most scenes. The first
// scene runs as runScene runs it. Each later one runs on the same device copy, put back to the
// source device's files first, in the app the first one started: its device section reaches
// the library as a change the settings pages announce, its absent classes are absent for it
// alone, classes it adds stay, its "load" neither loads nor unloads the library, and what it
// set through appearance proxies stays. Reports of later scenes can therefore differ from
// runScene's; use runScene where the report matters. Throws as runScene does.
class SceneSeries {
public:
    explicit SceneSeries(const RunOptions& options);
    ~SceneSeries();
    SceneSeries(const SceneSeries&) = delete;
    SceneSeries& operator=(const SceneSeries&) = delete;

    nlohmann::ordered_json run(const nlohmann::ordered_json& scene);

    struct Stage;

private:
    std::unique_ptr<Stage> stage_;
};

}  // namespace obscuro::scene
