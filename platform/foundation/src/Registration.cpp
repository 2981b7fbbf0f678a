// Foundation's classes, registered when libplatform loads, each after its superclass.
#include <Foundation/Foundation.h>

namespace foundation {
void addObjectDescriptions();  // NSObjCRuntime.cpp
}

void platform::registerFoundationClasses() {
    foundation::addObjectDescriptions();
    NSString::registerClass();
    NSMutableString::registerClass();
    NSCharacterSet::registerClass();
    NSArray::registerClass();
    NSMutableArray::registerClass();
    NSDictionary::registerClass();
    NSMutableDictionary::registerClass();
    NSData::registerClass();
    NSMutableData::registerClass();
    NSNull::registerClass();
    NSValue::registerClass();
    NSNumber::registerClass();
    NSError::registerClass();
    NSAttributedString::registerClass();
    NSMutableAttributedString::registerClass();
    NSScanner::registerClass();
    NSProcessInfo::registerClass();
    NSPropertyListSerialization::registerClass();
    NSURL::registerClass();
    NSBundle::registerClass();
    NSFileManager::registerClass();
}
