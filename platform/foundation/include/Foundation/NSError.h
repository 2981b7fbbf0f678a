// NSError: what went wrong, for the calls that report through an error out-parameter.
#pragma once

#include <Foundation/NSString.h>

#include <string_view>

class NSDictionary;

#define NSCocoaErrorDomain NSSTR("NSCocoaErrorDomain")
#define NSPOSIXErrorDomain NSSTR("NSPOSIXErrorDomain")
#define NSLocalizedDescriptionKey NSSTR("NSLocalizedDescription")
#define NSFilePathErrorKey NSSTR("NSFilePath")

// Error codes of NSCocoaErrorDomain used by this Foundation.
constexpr NSInteger NSFileNoSuchFileError = 4;
constexpr NSInteger NSFileReadUnknownError = 256;
constexpr NSInteger NSFileWriteUnknownError = 512;
constexpr NSInteger NSFileWriteFileExistsError = 516;
constexpr NSInteger NSPropertyListReadCorruptError = 3840;
constexpr NSInteger NSPropertyListWriteInvalidError = 3852;

// Selectors: +errorWithDomain:code:userInfo:(NSString*, NSInteger, NSDictionary*) -domain -code -userInfo
//   -localizedDescription -description
class NSError : public NSObject {
public:
    static Class class_();

    // An autoreleased error whose localizedDescription is `description`.
    static NSError* make(NSString* domain, NSInteger code, std::string_view description, NSString* path = nullptr);

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();

    objc::Strong<NSString> domain_;
    NSInteger code_ = 0;
    objc::Strong<NSDictionary> userInfo_;
};

namespace objc {
// Stores a new error into an out-parameter the caller may have left nil.
inline void setError(NSError** out, NSString* domain, NSInteger code, std::string_view description, NSString* path = nullptr) {
    if (out) *out = NSError::make(domain, code, description, path);
}
}  // namespace objc
