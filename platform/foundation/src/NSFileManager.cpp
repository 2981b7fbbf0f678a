// NSFileManager: existence tests, folders, listings, removal and new files at device paths.
#include <Foundation/NSData.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSFileManager.h>

#include "DeviceFile.h"
#include "Internal.h"

#include <device/device.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

Class gNSFileManager = nullptr;

BOOL fail(NSError** error, NSInteger code, const std::string& description, NSString* path) {
    objc::setError(error, NSCocoaErrorDomain, code, description, path);
    return NO;
}

std::string quoted(NSString* path) { return "\u201C" + objc::utf8(path) + "\u201D"; }

}  // namespace

Class NSFileManager::class_() { return gNSFileManager; }

void NSFileManager::registerClass() {
    using Self = NSFileManager;
    gNSFileManager =
        objc::ClassBuilder<NSFileManager>("NSFileManager", NSObject::class_())
            .classMethod(sel<"defaultManager">(),
                         [](Class, SEL) {
                             static NSFileManager* shared = [] {
                                 auto* manager = objc::createInstance<NSFileManager>(gNSFileManager);
                                 manager->retainCount_.store(1L << 60, std::memory_order_relaxed);
                                 return manager;
                             }();
                             return shared;
                         })
            .method(sel<"fileExistsAtPath:">(),
                    [](Self*, SEL, NSString* path) -> BOOL {
                        auto resolved = path ? device::resolve(path->utf8()) : std::nullopt;
                        std::error_code ec;
                        return resolved && fs::exists(*resolved, ec);
                    })
            .method(sel<"fileExistsAtPath:isDirectory:">(),
                    [](Self*, SEL, NSString* path, BOOL* isDirectory) -> BOOL {
                        auto resolved = path ? device::resolve(path->utf8()) : std::nullopt;
                        std::error_code ec;
                        auto status = resolved ? fs::status(*resolved, ec) : fs::file_status();
                        bool exists = resolved && fs::exists(status);
                        if (isDirectory) *isDirectory = exists && fs::is_directory(status);
                        return exists;
                    })
            .method(sel<"createDirectoryAtPath:withIntermediateDirectories:attributes:error:">(),
                    [](Self*, SEL, NSString* path, BOOL intermediates, NSDictionary*, NSError** error) -> BOOL {
                        auto resolved = path ? device::resolve(path->utf8()) : std::nullopt;
                        if (!resolved) return fail(error, NSFileNoSuchFileError, "The folder " + quoted(path) + " is not on the device.", path);
                        std::error_code ec;
                        auto status = fs::status(*resolved, ec);
                        if (fs::exists(status)) {
                            // Asking for intermediate folders means "make sure it exists"; the phone answers YES.
                            if (fs::is_directory(status) && intermediates) return YES;
                            return fail(error, NSFileWriteFileExistsError, "The file " + quoted(path) + " already exists.", path);
                        }
                        if (intermediates) fs::create_directories(*resolved, ec);
                        else fs::create_directory(*resolved, ec);
                        if (!ec) return YES;
                        NSInteger code = ec == std::errc::no_such_file_or_directory ? NSFileNoSuchFileError : NSFileWriteUnknownError;
                        return fail(error, code, "The folder " + quoted(path) + " couldn\u2019t be created: " + ec.message() + ".", path);
                    })
            .method(sel<"removeItemAtPath:error:">(),
                    [](Self*, SEL, NSString* path, NSError** error) -> BOOL {
                        // The link itself goes, not what it points to.
                        auto resolved = path ? device::resolve(path->utf8(), device::LastLink::keep) : std::nullopt;
                        std::error_code ec;
                        if (!resolved || !fs::exists(fs::symlink_status(*resolved, ec)))
                            return fail(error, NSFileNoSuchFileError, quoted(path) + " couldn\u2019t be removed because it doesn\u2019t exist.", path);
                        if (fs::equivalent(*resolved, device::root(), ec))
                            return fail(error, NSFileWriteUnknownError, "The device\u2019s root folder cannot be removed.", path);
                        fs::remove_all(*resolved, ec);
                        if (ec) return fail(error, NSFileWriteUnknownError, quoted(path) + " couldn\u2019t be removed: " + ec.message() + ".", path);
                        return YES;
                    })
            .method(sel<"contentsOfDirectoryAtPath:error:">(),
                    [](Self*, SEL, NSString* path, NSError** error) -> NSArray* {
                        auto resolved = path ? device::resolve(path->utf8()) : std::nullopt;
                        std::error_code ec;
                        if (!resolved || !fs::exists(*resolved, ec)) {
                            fail(error, NSFileNoSuchFileError, "The folder " + quoted(path) + " doesn\u2019t exist.", path);
                            return nullptr;
                        }
                        std::vector<std::string> names;
                        for (fs::directory_iterator it(*resolved, ec), end; !ec && it != end; it.increment(ec))
                            names.push_back(it->path().filename().string());
                        if (ec) {
                            fail(error, NSFileReadUnknownError, "The folder " + quoted(path) + " couldn\u2019t be read: " + ec.message() + ".", path);
                            return nullptr;
                        }
                        std::sort(names.begin(), names.end());
                        NSArray::Objects objects;
                        for (const auto& name : names) objects.push_back(NSString::createFromUTF8(name));
                        return foundation::autoreleased(NSArray::create(std::move(objects)));
                    })
            .method(sel<"createFileAtPath:contents:attributes:">(),
                    [](Self*, SEL, NSString* path, NSData* contents, NSDictionary*) -> BOOL {
                        static const std::vector<std::uint8_t> empty;
                        return path && foundation::writeDeviceFile(path->utf8(), contents ? contents->bytes() : empty, true);
                    })
            .registerClass();
}
