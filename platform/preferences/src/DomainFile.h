// The settings file of a preferences domain: read afresh, and changed one key at a time under the folder's lock.
#pragma once

#include <Foundation/NSDictionary.h>

#include <string>

namespace platform::preferences {

// Holds an exclusive lock on the folder that holds a settings file, for one read-modify-write.
// Every writer of the device's preferences folder (this framework, and the product's own
// controllers, which lock the same folder the same way) takes it, so two writers never lose
// each other's keys. The lock is the folder's flock: the kernel drops it when a writer dies.
class PreferencesFolderLock {
public:
    explicit PreferencesFolderLock(const std::string& settingsFilePath);
    ~PreferencesFolderLock();
    PreferencesFolderLock(const PreferencesFolderLock&) = delete;
    PreferencesFolderLock& operator=(const PreferencesFolderLock&) = delete;

private:
    int fd_ = -1;
};

// The settings file as a dictionary (autoreleased); nil when it is missing or not a dictionary.
NSDictionary* readSettingsFile(const std::string& path);

// Stores `value` under `key` in the settings file: reads the whole file (an unreadable one
// counts as empty), changes the key and writes the whole dictionary back atomically, all
// under the folder's lock. A file that already holds an equal value of the same class is
// left as it is. Returns whether the file holds the value afterwards.
bool storeSetting(const std::string& path, NSString* key, id value);

}  // namespace platform::preferences
