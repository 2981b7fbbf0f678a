// The settings-changed notification a scene posts, as the settings pages do, and the wait until the library has heard it.
#pragma once

#include <string>

namespace obscuro::scene {

// Listens for the settings-changed notification while it lives. Made after the library has
// loaded: observers of one name are called in registration order, so once this one has heard
// a change, the library's has too and the library has reloaded.
class SettingsChangeListener {
public:
    SettingsChangeListener();
    ~SettingsChangeListener();
    SettingsChangeListener(const SettingsChangeListener&) = delete;
    SettingsChangeListener& operator=(const SettingsChangeListener&) = delete;

    // Posts the notification and turns the main run loop until this process has heard it;
    // throws RunFailure naming `where` when it does not arrive in time.
    void announce(const std::string& where);
};

}  // namespace obscuro::scene
