// PSListController: a settings page, its specifiers loaded from a specifier file, and the stock reading and writing of settings.
#pragma once

#include <Foundation/NSBundle.h>
#include <Preferences/PSSpecifier.h>
#include <UIKit/UIViewController.h>

#include <string>

// Selectors:
//   - (id)specifiers                 stock: the kept list (_specifiers); subclasses load it
//   - setSpecifiers:(id NSArray), reloadSpecifiers (drops the kept list and asks `specifiers` again)
//   - (id)loadSpecifiersFromPlistName:(NSString*)target:(id)
//         the specifiers of "<name>.plist" in the controller's bundle (autoreleased NSArray, empty when
//         the file is missing or not a dictionary with "items"); sets the title from the file's "title"
//   - (id)specifier, setSpecifier:(PSSpecifier*)    the specifier that opened this page
//   - (id)parentController, setParentController:(id) (not retained), (id)bundle, setBundle:(NSBundle*)
//   - (id)specifierForID:(NSString*)                 by identifier; nil when absent
//   - (id)controllerForSpecifier:(PSSpecifier*)
//         a new page (autoreleased) of the specifier's detail class, with the specifier, this
//         controller as parent and this controller's bundle; nil without a list-controller class
//   - (id)readPreferenceValue:(PSSpecifier*)
//         the value stored under the specifier's "key" in the settings file of its "defaults"
//         domain, read afresh; the specifier's "default" when the file or the entry is absent
//   - setPreferenceValue:(id)specifier:(PSSpecifier*)
//         stores the value under "key" in the domain's settings file (a read-modify-write of the
//         whole file, atomic, serialised with every other writer of the device's preferences
//         folder), then posts the specifier's "PostNotification" on the Darwin centre
class PSListController : public UIViewController {
public:
    static Class class_();

    objc::Strong<NSArray> _specifiers;
    objc::Strong<PSSpecifier> specifier;
    objc::Strong<NSBundle> bundle;
    UIViewController* parentController = nullptr;  // weak
    // The name of the specifier file this page was loaded from, empty until it loads one.
    std::string specifierFileName;
};

namespace platform {

// The device path of a domain's settings file, "/var/mobile/Library/Preferences/<domain>.plist";
// empty for a nil or empty domain or one that could leave that folder (a '/' or a leading '.').
std::string preferencesFilePath(id domain);

}  // namespace platform
