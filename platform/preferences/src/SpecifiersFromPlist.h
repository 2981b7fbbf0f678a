// Turning the items of a specifier file into specifiers, as the phone's framework reads them.
#pragma once

#include <Foundation/NSBundle.h>
#include <Preferences/PSSpecifier.h>

namespace platform::preferences {

struct LoadedSpecifiers {
    objc::Strong<NSArray> specifiers;  // PSSpecifier objects, in file order
    objc::Strong<NSString> title;      // the file's "title", when it is a string
};

// The specifiers of a specifier file's dictionary: its "items", each a dictionary; anything
// else in the list is skipped. `target` becomes every specifier's target.
LoadedSpecifiers specifiersFromPlist(NSDictionary* plist, id target);

// One item of a specifier file as a specifier (owned). Keys read: cell, label, id, key,
// default, defaults, PostNotification, get, set, action, detail, isController, bundle,
// validValues, validTitles, cellClass, and the colour picker's "libcolorpicker" dictionary,
// whose defaults, key, PostNotification and fallback (as "default") stand for the item's own
// when it has none. An unknown cell name loads as a static text cell.
objc::Strong<PSSpecifier> specifierFromItem(NSDictionary* item, id target);

}  // namespace platform::preferences

namespace platform::preferences {

// The preference bundle "/Library/PreferenceBundles/<name>.bundle" (borrowed); nil for a name
// that is empty, holds a '/' or starts with '.', or when there is no such folder.
NSBundle* preferenceBundleNamed(NSString* name);

}  // namespace platform::preferences
