// NSData and NSMutableData: bytes, read from and written to device files.
#pragma once

#include <Foundation/NSObjCRuntime.h>

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Selectors: +data +dataWithBytes:length:(const void*, NSUInteger) +dataWithData: +dataWithContentsOfFile:
//   -initWithBytes:length: -initWithContentsOfFile: -bytes(const void*) -length -isEqual: -isEqualToData: -hash
//   -description -copy -mutableCopy -writeToFile:atomically:
// NSMutableData adds -appendBytes:length: -appendData: -mutableBytes(void*) -setLength:.
// writeToFile:atomically: with YES never leaves a partial file: see <Foundation/NSFileManager.h>.
class NSData : public NSObject {
public:
    static Class class_();

    static objc::Strong<NSData> create(std::vector<std::uint8_t> bytes, Class cls = nullptr);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

protected:
    std::vector<std::uint8_t> bytes_;

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};

class NSMutableData : public NSData {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};

namespace objc {
// An autoreleased NSData holding a copy of `bytes`.
NSData* data(std::span<const std::uint8_t> bytes);
NSData* data(std::string_view bytes);
}  // namespace objc
