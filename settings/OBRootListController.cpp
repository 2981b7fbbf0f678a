// OBRootListController: registered as the bundle's principal class; the "Root" page and its operations come from its base.
#include "OBRootListController.h"

namespace {
Class gOBRootListController = nullptr;
}

Class OBRootListController::class_() { return gOBRootListController; }

void OBRootListController::registerClass() {
    gOBRootListController = objc::ClassBuilder<OBRootListController>("OBRootListController", TarnPrefsRootListController::class_()).registerClass();
}
