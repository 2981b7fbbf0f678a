// NSFileManager: existence tests, folders and removal on the device file system.
#pragma once

#include <Foundation/NSArray.h>
#include <Foundation/NSError.h>

// Every path is a device path, resolved inside the device root (<device/device.h>); a path
// that is refused there does not exist, and operations on it fail with NSFileNoSuchFileError.
//
// Selectors: +defaultManager -fileExistsAtPath: -fileExistsAtPath:isDirectory:(NSString*, BOOL*)
//   -createDirectoryAtPath:withIntermediateDirectories:attributes:error:(NSString*, BOOL, NSDictionary*, NSError**)
//   -removeItemAtPath:error: (a folder with everything in it; a link itself, not its target; never "/")
//   -contentsOfDirectoryAtPath:error: (names sorted by their bytes, "." and ".." left out)
//   -createFileAtPath:contents:attributes:(NSString*, NSData*, NSDictionary*) (written atomically)
class NSFileManager : public NSObject {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};
