// NSNull: the one object that stands for "nothing" inside collections.
#pragma once

#include <Foundation/NSObjCRuntime.h>

// Selectors: +null (the shared immortal instance) -description ("<null>").
class NSNull : public NSObject {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};
