// A scene's steps: messages sent, layout passes, settings reloads and views added.
#pragma once

#include "Messaging.h"
#include "ObjectCreation.h"
#include "SceneObjects.h"
#include "SettingsChange.h"

#include <nlohmann/json.hpp>

#include <string>

namespace obscuro::scene {

class StepRunner {
public:
    StepRunner(const SceneObjects& objects, Messenger& messenger, ObjectBuilder& builder, SettingsChangeListener& settings)
        : objects_(objects), messenger_(messenger), builder_(builder), settings_(settings) {}

    // Performs step `index`; a send step whose method returns something adds {"step", "value"}
    // to `results`. Throws SceneError naming the step.
    void perform(const nlohmann::ordered_json& step, std::size_t index, nlohmann::ordered_json& results);

private:
    void send(const nlohmann::ordered_json& step, std::size_t index, std::string where, nlohmann::ordered_json& results);
    void layout(const nlohmann::ordered_json& step, const std::string& where);
    void reload(const nlohmann::ordered_json& step, const std::string& where);
    void add(const nlohmann::ordered_json& step, const std::string& where);

    const SceneObjects& objects_;
    Messenger& messenger_;
    ObjectBuilder& builder_;
    SettingsChangeListener& settings_;
};

}  // namespace obscuro::scene
