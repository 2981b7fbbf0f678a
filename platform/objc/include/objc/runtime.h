// The runtime's C interface: class registry, methods, instance variables, selectors, objects.
#pragma once

#include <objc/objc.h>

#include <cstdint>
#include <string>
#include <vector>

namespace objc::detail {
struct ClassData;
struct MethodCache;
}  // namespace objc::detail

// A class is an object whose class is its metaclass. The method cache is read without a
// lock on every message send; everything else lives behind `data`, guarded by the runtime.
struct objc_class : objc_object {
    Class superclass = nullptr;
    std::atomic<objc::detail::MethodCache*> cache{nullptr};
    objc::detail::ClassData* data = nullptr;
};

struct objc_method {
    SEL name;
    std::atomic<IMP> imp;
    const char* types;  // interned: equal signatures share one pointer
    std::uint64_t typesHash;  // objc::signatureHash(types)
};

struct objc_ivar {
    const char* name;
    const char* type;
    std::ptrdiff_t offset;
    std::size_t size;
};

// --- Selectors -------------------------------------------------------------------------

// Interns a selector name; the same text always gives the same SEL.
SEL sel_registerName(const char* name);
const char* sel_getName(SEL sel);  // "<null selector>" for nil

// --- Classes -----------------------------------------------------------------------------

// Finds a registered class. A name with exactly one dot, not at either end, that is not
// registered as given is tried again in its mangled Swift form: "Music.Player" → "_TtC5Music6Player".
Class objc_getClass(const char* name);
Class objc_lookUpClass(const char* name);
Class objc_getMetaClass(const char* name);
Class object_getClass(id obj);
Class class_getSuperclass(Class cls);
const char* class_getName(Class cls);  // runtime name; "nil" for nil
BOOL class_isMetaClass(Class cls);
// YES when `cls` is `ancestor` or inherits from it; NO when either is nil.
BOOL class_isSubclassOfClass(Class cls, Class ancestor);
std::size_t class_getInstanceSize(Class cls);
std::vector<Class> objc_copyClassList();

// Creates a class pair for a class added at run time. The new class's instances have the
// superclass's layout followed by `extraBytes` and any instance variables added before
// registration. Returns nil when the name is taken.
Class objc_allocateClassPair(Class superclass, const char* name, std::size_t extraBytes);
void objc_registerClassPair(Class cls);

// Removes a registered class from name lookups, as if the running app never had it.
// Existing instances keep working. Used by hosts that simulate other app versions.
void objc_hideClass(const char* name);
void objc_unhideClass(const char* name);

// A count that moves whenever what objc_getClass can find changes (a class registered, hidden
// or shown again). A name that was not found stays unfound while the count stands still, so
// code that remembers a class it looks up by name need not ask again until then.
unsigned long objc_classTableGeneration();

// Called, on the looking thread, with each name that objc_getClass or objc_lookUpClass did not
// find; nil stops observing. One observer per process, for hosts that report which classes the
// code they load looked for in vain. The observer must not look classes up itself.
using ClassLookupMissObserver = void (*)(const char* name);
void objc_setClassLookupMissObserver(ClassLookupMissObserver observer);

// --- Methods -----------------------------------------------------------------------------

// Looks a method up along the superclass chain; nil when no class in the chain has it.
Method class_getInstanceMethod(Class cls, SEL sel);
Method class_getClassMethod(Class cls, SEL sel);
// The class's own method for `sel`, ignoring superclasses.
Method class_getOwnMethod(Class cls, SEL sel);

// Adds a method to `cls` itself; fails (NO) when the class already has its own method for
// `sel`, or for a nil IMP. A method only inherited is shadowed, and the superclass keeps its own.
BOOL class_addMethod(Class cls, SEL sel, IMP imp, const char* types);
// Replaces the class's own implementation, or adds one; returns the previous own IMP, or nil
// when the method was added. A replacement whose `types` differ from the method's signature is
// refused with a line on stderr (and nil): the method's callers are typed by the signature it
// has. Nil `types` stand for the method's own.
IMP class_replaceMethod(Class cls, SEL sel, IMP imp, const char* types);

IMP method_getImplementation(Method m);
IMP method_setImplementation(Method m, IMP imp);  // returns the previous IMP
SEL method_getName(Method m);
const char* method_getTypeEncoding(Method m);

BOOL class_respondsToSelector(Class cls, SEL sel);

// --- Instance variables -----------------------------------------------------------------

// Adds an instance variable to a class created by objc_allocateClassPair, before it is
// registered. Object-typed ("@") variables are strong: they are released when the
// instance is destroyed.
BOOL class_addIvar(Class cls, const char* name, std::size_t size, std::size_t alignment, const char* types);
Ivar class_getInstanceVariable(Class cls, const char* name);  // searches superclasses too
std::ptrdiff_t ivar_getOffset(Ivar ivar);
const char* ivar_getName(Ivar ivar);
const char* ivar_getTypeEncoding(Ivar ivar);
id object_getIvar(id obj, Ivar ivar);
// Stores without retaining, like the phone's call; strong stores retain and release themselves.
void object_setIvar(id obj, Ivar ivar, id value);

// --- Objects -----------------------------------------------------------------------------

// Creates an instance (+1) of `cls` with its C++ part constructed and extra storage zeroed.
id class_createInstance(Class cls, std::size_t extraBytes = 0);
BOOL object_isKindOfClass(id obj, Class cls);  // NO for a nil object or a nil class

id objc_retain(id obj);
void objc_release(id obj);
id objc_autorelease(id obj);
long objc_retainCount(id obj);

void* objc_autoreleasePoolPush();
void objc_autoreleasePoolPop(void* token);
