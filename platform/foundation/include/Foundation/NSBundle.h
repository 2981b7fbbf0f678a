// NSBundle: a folder on the device with an Info.plist, resources and possibly a library to load.
#pragma once

#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>

#include <string>
#include <string_view>

namespace platform {
// Makes the bundle at `devicePath` the main bundle. When `infoDictionary` is given it stands
// for the bundle's Info.plist (a host need not stage one on the device). Until this is
// called, +mainBundle is nil, so that every question about it answers nil.
void setMainBundle(std::string_view devicePath, NSDictionary* infoDictionary = nullptr);
}  // namespace platform

// Selectors: +mainBundle +bundleWithPath: (nil when no such folder; one instance per path)
//   -initWithPath: -bundlePath -resourcePath -bundleIdentifier -infoDictionary -objectForInfoDictionaryKey:
//   -pathForResource:ofType: (bundle folder, then Base.lproj and en.lproj; nil when absent; an empty
//     or nil type means the name is complete) -executablePath -load -isLoaded
//   -principalClass (loads the bundle, then the class named by NSPrincipalClass; Nil without one)
// Paths are device paths. load opens CFBundleExecutable with device::dlopen (RTLD_NOW); a
// failure is logged with its dlerror text and answers NO.
class NSBundle : public NSObject {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    friend void platform::setMainBundle(std::string_view, NSDictionary*);
    static void registerClass();
    // Takes the path and the Info.plist (`info`, or the one in the folder, or none).
    void fill(const std::string& path, NSDictionary* info);

    objc::Strong<NSString> path_;
    objc::Strong<NSDictionary> info_;
    void* handle_ = nullptr;
};
