// Foundation's basic types and runtime glue: integer types, NSNotFound, class and selector names.
#pragma once

#include <objc/NSObject.h>

#include <climits>

using NSInteger = long;
using NSUInteger = unsigned long;
using unichar = unsigned short;  // one UTF-16 code unit

constexpr NSInteger NSIntegerMax = LONG_MAX;
constexpr NSUInteger NSUIntegerMax = ULONG_MAX;
// "Not found" for indexes and range locations.
constexpr NSInteger NSNotFound = NSIntegerMax;

using NSComparisonResult = NSInteger;
constexpr NSComparisonResult NSOrderedAscending = -1;
constexpr NSComparisonResult NSOrderedSame = 0;
constexpr NSComparisonResult NSOrderedDescending = 1;

class NSString;

// The readable name of a class: "Music.NowPlayingViewController" for a simple top-level Swift
// class, the runtime name for everything else; nil for Nil. Autoreleased.
NSString* NSStringFromClass(Class cls);
// The registered class of that name (runtime or dotted Swift form); Nil when there is none.
Class NSClassFromString(NSString* name);
NSString* NSStringFromSelector(SEL sel);  // nil for a nil selector
SEL NSSelectorFromString(NSString* name);  // nil for nil

namespace platform {
// Registers Foundation's classes; libplatform calls it once at load, after the root class.
void registerFoundationClasses();
}  // namespace platform
