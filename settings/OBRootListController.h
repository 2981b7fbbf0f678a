// OBRootListController: the product's root settings page, everything inherited from the maker's root controller.
#pragma once

#include "TarnPrefsRootListController.h"

class OBRootListController : public TarnPrefsRootListController {
public:
    static Class class_();
    static void registerClass();
};
