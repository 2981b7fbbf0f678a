// Settings files of preferences domains: locked read-modify-write through Foundation's atomic writes.
#include "DomainFile.h"

#include <Foundation/Foundation.h>
#include <Preferences/PSListController.h>
#include <device/device.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace platform::preferences {

PreferencesFolderLock::PreferencesFolderLock(const std::string& settingsFilePath) {
    auto slash = settingsFilePath.rfind('/');
    if (slash == std::string::npos) return;
    auto folder = device::resolve(settingsFilePath.substr(0, slash == 0 ? 1 : slash));
    if (!folder) return;
    fd_ = ::open(folder->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

PreferencesFolderLock::~PreferencesFolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing the last descriptor of the open folder drops the lock
}

NSDictionary* readSettingsFile(const std::string& path) {
    if (path.empty()) return nullptr;
    return msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(path));
}

namespace {

// Equal and of the same kind: a stored 1 does not stand for a written YES.
bool sameValue(id stored, id value) {
    if (!stored || object_getClass(stored) != object_getClass(value)) return false;
    if (object_isKindOfClass(stored, NSNumber::class_()) &&
        static_cast<NSNumber*>(stored)->kind() != static_cast<NSNumber*>(value)->kind())
        return false;
    return msg<BOOL>(stored, sel<"isEqual:">(), value);
}

}  // namespace

bool storeSetting(const std::string& path, NSString* key, id value) {
    if (path.empty() || !key || !value) return false;
    PreferencesFolderLock lock(path);
    auto settings = objc::adopt(msg<NSMutableDictionary*>(msg<id>(NSMutableDictionary::class_(), sel<"alloc">()),
                                                         sel<"initWithContentsOfFile:">(), objc::str(path)));
    if (!settings)
        settings = objc::adopt(msg<NSMutableDictionary*>(msg<id>(NSMutableDictionary::class_(), sel<"alloc">()), sel<"init">()));
    if (sameValue(settings->objectForKey(key), value)) return true;
    msg<void>(settings.get(), sel<"setObject:forKey:">(), value, static_cast<id>(key));
    return msg<BOOL>(settings.get(), sel<"writeToFile:atomically:">(), objc::str(path), YES);
}

}  // namespace platform::preferences
