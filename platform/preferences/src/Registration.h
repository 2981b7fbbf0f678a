// What the Preferences sources share privately: each class's registration.
#pragma once

namespace platform {
// Registers the framework's classes; libplatform calls it once at load, after UIKit's.
void registerPreferencesClasses();
}  // namespace platform

namespace platform::preferences {

void registerPSSpecifier();
void registerPSListController();
void registerPSListItemsController();

}  // namespace platform::preferences
