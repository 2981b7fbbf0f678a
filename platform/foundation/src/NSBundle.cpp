// NSBundle: device folders with an Info.plist, one instance per path, and the main bundle a host names.
#include <Foundation/NSBundle.h>
#include <Foundation/NSLog.h>

#include "Internal.h"
#include "PropertyList.h"

#include <device/device.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

namespace {

Class gNSBundle = nullptr;

// Bundles live as long as the process, as on the phone: every instance ever made stays in
// this table, so a borrowed bundle (from +mainBundle or +bundleWithPath:) never dies.
// A main bundle that a host replaces stays in `retired`. Keys are folders on this machine:
// the same device path on another device root is another bundle.
std::mutex gBundlesLock;
std::map<std::string, NSBundle*>* gBundles = new std::map<std::string, NSBundle*>;
std::vector<NSBundle*>* gRetired = new std::vector<NSBundle*>;
NSBundle* gMainBundle = nullptr;

// Held while a bundle's library is opened. Recursive: the library's constructors may load
// other bundles; separate from gBundlesLock so that they may also ask for the main bundle.
std::recursive_mutex gLoadLock;

// "/Library/x/" and "/Library/x" name the same bundle.
std::string normalisedPath(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string tableKey(const std::string& devicePath) {
    auto resolved = device::resolve(devicePath);
    return resolved ? resolved->string() : devicePath;
}

bool deviceFileExists(const std::string& devicePath, bool wantFolder) {
    auto path = device::resolve(devicePath);
    std::error_code ec;
    if (!path) return false;
    auto status = std::filesystem::status(*path, ec);
    return wantFolder ? std::filesystem::is_directory(status) : std::filesystem::is_regular_file(status);
}

NSString* stringValue(NSDictionary* info, NSString* key) { return foundation::as<NSString>(info ? info->objectForKey(key) : nullptr); }

}  // namespace

Class NSBundle::class_() { return gNSBundle; }

// The Info.plist is read once, when the bundle is made, as the phone reads it.
void NSBundle::fill(const std::string& path, NSDictionary* info) {
    path_ = NSString::createFromUTF8(path);
    objc::Strong<objc_object> read;
    if (!info) read = foundation::readPropertyListFile(path + "/Info.plist");
    auto* contents = info ? info : foundation::as<NSDictionary>(read.get());
    info_ = NSDictionary::create(contents ? contents->entries() : NSDictionary::Entries{});
}

void NSBundle::registerClass() {
    using Self = NSBundle;
    // The bundle for a path: the existing one, else `fresh` filled in (which the table then
    // keeps), else nil when the folder does not exist. Returns a borrowed bundle; consumes `fresh`.
    auto bundleAt = [](NSString* pathText, Self* fresh) -> Self* {
        if (!pathText) {
            objc_release(fresh);
            return nullptr;
        }
        std::string path = normalisedPath(pathText->utf8());
        std::string key = tableKey(path);
        std::lock_guard lock(gBundlesLock);
        if (auto it = gBundles->find(key); it != gBundles->end()) {
            objc_release(fresh);
            return it->second;
        }
        if (!deviceFileExists(path, true)) {
            objc_release(fresh);
            return nullptr;
        }
        if (!fresh) fresh = objc::createInstance<Self>(gNSBundle);
        fresh->fill(path, nullptr);
        gBundles->emplace(key, fresh);
        return fresh;
    };
    gNSBundle =
        objc::ClassBuilder<NSBundle>("NSBundle", NSObject::class_())
            .classMethod(sel<"mainBundle">(),
                         [](Class, SEL) -> NSBundle* {
                             std::lock_guard lock(gBundlesLock);
                             return gMainBundle;
                         })
            .classMethod(sel<"bundleWithPath:">(), [](Class, SEL, NSString* path) { return decltype(bundleAt){}(path, nullptr); })
            .method(sel<"initWithPath:">(),
                    [](Self* self, SEL, NSString* path) -> Self* {
                        // init answers the shared instance for the path, owned by the caller as init results are.
                        return static_cast<Self*>(objc_retain(decltype(bundleAt){}(path, self)));
                    })
            .method(sel<"bundlePath">(), [](Self* self, SEL) { return self->path_.get(); })
            .method(sel<"resourcePath">(), [](Self* self, SEL) { return self->path_.get(); })
            .method(sel<"infoDictionary">(), [](Self* self, SEL) { return self->info_.get(); })
            .method(sel<"bundleIdentifier">(), [](Self* self, SEL) { return stringValue(self->info_, NSSTR("CFBundleIdentifier")); })
            .method(sel<"objectForInfoDictionaryKey:">(), [](Self* self, SEL, NSString* key) { return self->info_->objectForKey(key); })
            .method(sel<"pathForResource:ofType:">(),
                    [](Self* self, SEL, NSString* name, NSString* type) -> NSString* {
                        if (!name || name->utf16().empty()) return nullptr;
                        std::string file = name->utf8();
                        if (type && !type->utf16().empty()) file += (type->utf8().starts_with('.') ? "" : ".") + type->utf8();
                        for (const char* folder : {"", "/Base.lproj", "/en.lproj"}) {
                            std::string candidate = self->path_->utf8() + folder + "/" + file;
                            if (deviceFileExists(candidate, false)) return objc::str(candidate);
                        }
                        return nullptr;
                    })
            .method(sel<"executablePath">(),
                    [](Self* self, SEL) -> NSString* {
                        auto* name = stringValue(self->info_, NSSTR("CFBundleExecutable"));
                        if (!name || name->utf16().empty()) return nullptr;
                        std::string path = self->path_->utf8() + "/" + name->utf8();
                        return deviceFileExists(path, false) ? objc::str(path) : nullptr;
                    })
            .method(sel<"load">(),
                    [](Self* self, SEL) -> BOOL {
                        std::lock_guard lock(gLoadLock);
                        if (self->handle_) return YES;
                        NSString* executable = msg<NSString*>(self, sel<"executablePath">());
                        if (!executable) {
                            NSLog("Error loading %@: the bundle has no executable", self->path_.get());
                            return NO;
                        }
                        self->handle_ = device::dlopen(executable->utf8().c_str(), RTLD_NOW);
                        if (!self->handle_) {
                            const char* reason = device::dlerror();
                            NSLog("Error loading %@: dlopen(%@, 2): %s", self->path_.get(), executable, reason ? reason : "unknown error");
                            return NO;
                        }
                        return YES;
                    })
            .method(sel<"isLoaded">(),
                    [](Self* self, SEL) -> BOOL {
                        std::lock_guard lock(gLoadLock);
                        return self->handle_ != nullptr;
                    })
            .method(sel<"principalClass">(),
                    [](Self* self, SEL) -> Class {
                        if (!msg<BOOL>(self, sel<"load">())) return nullptr;
                        auto* name = stringValue(self->info_, NSSTR("NSPrincipalClass"));
                        return name ? NSClassFromString(name) : nullptr;
                    })
            .method(sel<"description">(),
                    [](Self* self, SEL) -> NSString* {
                        bool loaded = msg<BOOL>(self, sel<"isLoaded">());
                        return objc::format("NSBundle <%@> (%s)", self->path_.get(), loaded ? "loaded" : "not yet loaded");
                    })
            .registerClass();
}

namespace platform {

void setMainBundle(std::string_view devicePath, NSDictionary* infoDictionary) {
    std::string path = normalisedPath(std::string(devicePath));
    auto* bundle = objc::createInstance<NSBundle>(gNSBundle);
    bundle->fill(path, infoDictionary);
    // The main bundle is the running program, loaded by definition.
    bundle->handle_ = device::dlopen(nullptr, RTLD_NOW);
    std::string key = tableKey(path);
    std::lock_guard lock(gBundlesLock);
    if (auto it = gBundles->find(key); it != gBundles->end()) gRetired->push_back(it->second);
    (*gBundles)[key] = bundle;
    gMainBundle = bundle;
}

}  // namespace platform
