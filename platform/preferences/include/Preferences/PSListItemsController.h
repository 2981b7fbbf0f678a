// PSListItemsController: the page of choices behind a PSLinkListCell, writing the chosen value through the parent's specifier.
#pragma once

#include <Preferences/PSListController.h>

// Selectors:
//   - (id)specifiers   one group, then one PSListItemCell per value of the parent's specifier,
//                      named by its title, with the value under "value" and "checked" = YES on
//                      the one the parent's getter answers now
//   - (BOOL)selectItemAtIndex:(long)   sets the value at that index through the parent
//                      specifier's setter; NO (nothing written) for an index out of range
class PSListItemsController : public PSListController {
public:
    static Class class_();
};
