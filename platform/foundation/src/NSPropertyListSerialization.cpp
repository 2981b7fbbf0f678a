// NSPropertyListSerialization: the messages over the property-list reader and writer.
#include <Foundation/NSPropertyListSerialization.h>

#include "Internal.h"
#include "PropertyList.h"

namespace {
Class gNSPropertyListSerialization = nullptr;
}

Class NSPropertyListSerialization::class_() { return gNSPropertyListSerialization; }

void NSPropertyListSerialization::registerClass() {
    gNSPropertyListSerialization =
        objc::ClassBuilder<NSPropertyListSerialization>("NSPropertyListSerialization", NSObject::class_())
            .classMethod(sel<"propertyListWithData:options:format:error:">(),
                         [](Class, SEL, NSData* data, NSUInteger options, NSPropertyListFormat* format, NSError** error) -> id {
                             auto mutability = options == NSPropertyListMutableContainersAndLeaves ? foundation::Mutability::mutableContainersAndLeaves
                                               : options == NSPropertyListMutableContainers ? foundation::Mutability::mutableContainers
                                                                                            : foundation::Mutability::immutable;
                             std::string why;
                             auto object = data ? foundation::decodePropertyList(data->bytes(), mutability, format, &why) : nullptr;
                             if (!object) {
                                 objc::setError(error, NSCocoaErrorDomain, NSPropertyListReadCorruptError, data ? why : "no data");
                                 return nullptr;
                             }
                             return foundation::autoreleased(std::move(object));
                         })
            .classMethod(sel<"dataWithPropertyList:format:options:error:">(),
                         [](Class, SEL, id plist, NSPropertyListFormat format, NSUInteger, NSError** error) -> NSData* {
                             std::string why;
                             auto bytes = foundation::encodePropertyList(plist, format, &why);
                             if (!bytes) {
                                 objc::setError(error, NSCocoaErrorDomain, NSPropertyListWriteInvalidError, why);
                                 return nullptr;
                             }
                             return foundation::autoreleased(NSData::create(std::move(*bytes)));
                         })
            .classMethod(sel<"propertyList:isValidForFormat:">(),
                         [](Class, SEL, id plist, NSPropertyListFormat format) -> BOOL {
                             return foundation::encodePropertyList(plist, format).has_value();
                         })
            .registerClass();
}
