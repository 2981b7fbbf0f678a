// OBCustomColorsController: loads the "custom_colors" page once per controller.
#include "OBCustomColorsController.h"

#include <Foundation/NSString.h>

namespace {
Class gOBCustomColorsController = nullptr;
}

Class OBCustomColorsController::class_() { return gOBCustomColorsController; }

void OBCustomColorsController::registerClass() {
    gOBCustomColorsController =
        objc::ClassBuilder<OBCustomColorsController>("OBCustomColorsController", PSListController::class_())
            .method(sel<"specifiers">(),
                    [](OBCustomColorsController* self, SEL) -> id {
                        if (!self->_specifiers)
                            self->_specifiers = objc::retain(msg<NSArray*>(self, sel<"loadSpecifiersFromPlistName:target:">(),
                                                                           static_cast<NSString*>(NSSTR("custom_colors")), static_cast<id>(self)));
                        return self->_specifiers.get();
                    })
            .registerClass();
}
