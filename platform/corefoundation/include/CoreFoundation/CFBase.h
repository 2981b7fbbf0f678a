// Basic CoreFoundation types: booleans, indices, time intervals and string handles.
#pragma once

#include <cstdint>
#include <string_view>

using Boolean = unsigned char;
using CFIndex = long;
using CFOptionFlags = unsigned long;
using CFTimeInterval = double;
using SInt32 = std::int32_t;
using CFTypeRef = const void*;

struct CFAllocator;
using CFAllocatorRef = const CFAllocator*;
constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;

// A string handle. Every CFStringRef is interned and immortal: equal texts give the same
// handle, so names compare by pointer, and CFRelease on one does nothing.
struct CFStringStorage;
using CFStringRef = const CFStringStorage*;

using CFStringEncoding = std::uint32_t;
constexpr CFStringEncoding kCFStringEncodingUTF8 = 0x08000100;

namespace platform {
// The handle for `text`, made on first use and kept for the life of the process.
CFStringRef internCFString(std::string_view text);
}  // namespace platform

// A constant string: CFSTR("com.example/changed"). Each call site interns its text once, on
// first use, in a function-local static, so no global initialiser runs at load.
#define CFSTR(text)                                                                      \
    ([]() -> CFStringRef {                                                               \
        static const CFStringRef interned = ::platform::internCFString("" text "");      \
        return interned;                                                                 \
    }())

// The handle for a NUL-terminated string; nil for a nil string. The encoding is taken as UTF-8.
CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* cString, CFStringEncoding encoding);
// The text of a handle, NUL-terminated and valid for the life of the process; nil for nil.
const char* CFStringGetCStringPtr(CFStringRef string, CFStringEncoding encoding);

// CoreFoundation objects made here (strings, run loops, the notification centre) live for
// the whole process, so retaining and releasing them changes nothing.
CFTypeRef CFRetain(CFTypeRef object);
void CFRelease(CFTypeRef object);
