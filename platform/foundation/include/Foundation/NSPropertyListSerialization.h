// NSPropertyListSerialization: property lists to and from XML and binary data.
#pragma once

#include <Foundation/NSData.h>
#include <Foundation/NSError.h>

using NSPropertyListFormat = NSUInteger;
constexpr NSPropertyListFormat NSPropertyListOpenStepFormat = 1;
constexpr NSPropertyListFormat NSPropertyListXMLFormat_v1_0 = 100;
constexpr NSPropertyListFormat NSPropertyListBinaryFormat_v1_0 = 200;

using NSPropertyListReadOptions = NSUInteger;
constexpr NSPropertyListReadOptions NSPropertyListImmutable = 0;
constexpr NSPropertyListReadOptions NSPropertyListMutableContainers = 1;
constexpr NSPropertyListReadOptions NSPropertyListMutableContainersAndLeaves = 2;

// Selectors:
//   +propertyListWithData:options:format:error:(NSData*, NSUInteger, NSPropertyListFormat*, NSError**) → id
//       reads XML or binary; the format pointer (may be NULL) receives which; nil and an error for bad data.
//   +dataWithPropertyList:format:options:error:(id, NSPropertyListFormat, NSUInteger, NSError**) → NSData*
//       writes XML or binary; nil and an error when the object is not a property list or the format is OpenStep.
//   +propertyList:isValidForFormat:(id, NSPropertyListFormat) → BOOL
// Mapping: dictionary ↔ NSDictionary (string keys only), array ↔ NSArray, string ↔ NSString,
// boolean ↔ NSNumber made with numberWithBool:, integer and real ↔ NSNumber, data ↔ NSData.
// A date is read as an NSNumber of seconds since 1970-01-01 UTC, and written back as a real.
class NSPropertyListSerialization : public NSObject {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};
