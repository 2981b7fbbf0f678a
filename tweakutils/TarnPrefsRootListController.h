// TarnPrefsRootListController: the maker's root settings page, with its own settings-file reading and writing, restart and support links.
#pragma once

#include <Preferences/PSListController.h>

// Selectors (beyond PSListController's):
//   - (id)specifiers        the "Root" specifier file, loaded on the first call and kept
//   - (id)readPreferenceValue:(PSSpecifier*)   the stored value, the file read afresh; else "default"
//   - setPreferenceValue:(id)specifier:(PSSpecifier*)
//         read-modify-write of the whole settings file under the folder's lock, written
//         atomically, then the specifier's "PostNotification", then PSListController's setter
//   - respring              runs /usr/bin/killall -9 backboardd and waits for it
//   - openEmail             the support e-mail, subject "<label> Support"
//   - openTwitter           the maker's profile in the first installed client, else on the web
class TarnPrefsRootListController : public PSListController {
public:
    static Class class_();

    // Registers the class; a second bundle of the maker carrying the same toolkit finds it
    // already registered and uses that one.
    static void registerClass();
};

namespace tarnprefs {

// The settings file of a domain: "/var/mobile/Library/Preferences/<domain>.plist"; empty when
// the domain is not a non-empty string free of '/' (nothing is then read or written).
std::string settingsFilePath(id domain);

}  // namespace tarnprefs
