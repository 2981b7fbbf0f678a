// NSObject, the root class: allocation, identity, kind tests and reference counting by message.
#pragma once

#include <objc/ClassBuilder.h>
#include <objc/Strong.h>
#include <objc/message.h>

class NSObject : public objc_object {
public:
    static Class class_();
};

namespace objc {
void registerRootClass();
}
