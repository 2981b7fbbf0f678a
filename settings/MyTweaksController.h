// MyTweaksController: the page of the maker's other packages, each opening its page on the package repository.
#pragma once

#include <Preferences/PSListController.h>

// Selectors:
//   - (id)specifiers             the "my_tweaks" specifier file, loaded once and kept
//   - openPackageLink:(PSSpecifier*)   opens the package page of the specifier's name
class MyTweaksController : public PSListController {
public:
    static Class class_();
    static void registerClass();
};

