// The bundle's load: its controller classes join the runtime when Settings loads the bundle, as the phone registers a plug-in's classes.
#include "MyTweaksController.h"
#include "OBCustomColorsController.h"
#include "OBRootListController.h"

namespace {

__attribute__((constructor)) void registerSettingsClasses() {
    TarnPrefsRootListController::registerClass();
    OBRootListController::registerClass();
    OBCustomColorsController::registerClass();
    MyTweaksController::registerClass();
}

}  // namespace
