// An exclusive lock on a settings file's folder, held across one read-modify-write of the file.
#pragma once

#include <string>

namespace tarnprefs {

// Two writers of the settings file (two pages, or a page and the command line) each read the
// whole file, change one key and write it all back; without a lock, the later write drops the
// key of the earlier one. Every writer therefore holds the folder's flock for its
// read-modify-write, as the Preferences framework's own setter does. The kernel drops the lock
// of a writer that dies. A folder that cannot be opened is not locked (the write then fails
// on its own).
class TarnPrefsFolderLock {
public:
    explicit TarnPrefsFolderLock(const std::string& settingsFilePath);
    ~TarnPrefsFolderLock();
    TarnPrefsFolderLock(const TarnPrefsFolderLock&) = delete;
    TarnPrefsFolderLock& operator=(const TarnPrefsFolderLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace tarnprefs
