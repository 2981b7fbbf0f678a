// Registers the Preferences classes, superclasses first.
#include "Registration.h"

namespace platform {

void registerPreferencesClasses() {
    preferences::registerPSSpecifier();
    preferences::registerPSListController();
    preferences::registerPSListItemsController();
}

}  // namespace platform
