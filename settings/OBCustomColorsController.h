// OBCustomColorsController: the custom-colours page, one colour cell per colour of the theme.
#pragma once

#include <Preferences/PSListController.h>

// Selectors: - (id)specifiers   the "custom_colors" specifier file, loaded once and kept.
// Its cells are read and written by PSListController's own operations.
class OBCustomColorsController : public PSListController {
public:
    static Class class_();
    static void registerClass();
};
