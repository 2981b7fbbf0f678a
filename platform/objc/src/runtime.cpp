// The class registry, method tables, instance variables and selectors.
#include "runtime_internal.h"

#include <objc/encoding.h>
#include <objc/swift.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace objc::detail {

Runtime& runtime() {
    // Never destroyed: classes and selectors must outlive every object, static ones included.
    static Runtime* instance = new Runtime;
    return *instance;
}

namespace {

constexpr long kImmortal = 1L << 60;

Class newClassObject(const std::string& name, bool isMeta) {
    auto* cls = new objc_class;
    cls->retainCount_.store(kImmortal, std::memory_order_relaxed);
    cls->data = new ClassData;
    cls->data->name = name;
    cls->data->isMeta = isMeta;
    return cls;
}

Class rootMetaclassOf(Class superclass) {
    Class c = superclass;
    while (c && c->superclass) c = c->superclass;
    return c ? c->isa : nullptr;
}

void collectSubclasses(Class cls, std::vector<Class>& out) {
    out.push_back(cls);
    for (Class sub : cls->data->subclasses) collectSubclasses(sub, out);
}

}  // namespace

void flushCachesLocked(Class cls) {
    runtime().methodLock.assertLocked();
    std::vector<Class> affected;
    collectSubclasses(cls, affected);
    for (Class c : affected) {
        if (MethodCache* old = c->cache.exchange(nullptr, std::memory_order_acq_rel)) runtime().retiredCaches.push_back(old);
    }
}

Class allocateCxxClassPair(Class superclass, const char* name, std::size_t size, std::size_t alignment, Constructor construct) {
    Class cls = objc_allocateClassPair(superclass, name, 0);
    if (!cls) return nullptr;
    std::lock_guard lock(runtime().methodLock);
    cls->data->instanceSize = size;
    cls->data->alignment = std::max(alignment, cls->data->alignment);
    cls->data->construct = construct;
    return cls;
}

}  // namespace objc::detail

using namespace objc::detail;

// --- Selectors -------------------------------------------------------------------------

SEL sel_registerName(const char* name) {
    if (!name) return nullptr;
    auto& rt = runtime();
    std::lock_guard lock(rt.selectorLock);
    auto it = rt.selectors.find(name);
    if (it != rt.selectors.end()) return it->second.get();
    auto sel = std::make_unique<objc_selector>(objc_selector{name});
    SEL result = sel.get();
    rt.selectors.emplace(name, std::move(sel));
    return result;
}

const char* sel_getName(SEL sel) { return sel ? sel->name.c_str() : "<null selector>"; }

// --- Classes -----------------------------------------------------------------------------

namespace {
std::atomic<ClassLookupMissObserver> gLookupMissObserver{nullptr};
}  // namespace

Class objc_lookUpClass(const char* name) {
    if (!name) return nullptr;
    auto& rt = runtime();
    std::shared_lock lock(rt.classLock);
    auto find = [&](const std::string& n) -> Class {
        if (rt.hiddenNames.count(n)) return nullptr;
        auto it = rt.classesByName.find(n);
        return it == rt.classesByName.end() ? nullptr : it->second;
    };
    if (Class cls = find(name)) return cls;
    if (auto mangled = objc::swiftMangledClassName(name))
        if (Class cls = find(*mangled)) return cls;
    lock.unlock();
    if (auto observer = gLookupMissObserver.load(std::memory_order_acquire)) observer(name);
    return nullptr;
}

void objc_setClassLookupMissObserver(ClassLookupMissObserver observer) {
    gLookupMissObserver.store(observer, std::memory_order_release);
}

Class objc_getClass(const char* name) { return objc_lookUpClass(name); }

unsigned long objc_classTableGeneration() { return runtime().classTableGeneration.load(std::memory_order_acquire); }

Class objc_getMetaClass(const char* name) {
    Class cls = objc_getClass(name);
    return cls ? cls->isa : nullptr;
}

Class object_getClass(id obj) { return obj ? obj->isa : nullptr; }
Class class_getSuperclass(Class cls) { return cls ? cls->superclass : nullptr; }
const char* class_getName(Class cls) { return cls ? cls->data->name.c_str() : "nil"; }
BOOL class_isMetaClass(Class cls) { return cls && cls->data->isMeta; }

BOOL class_isSubclassOfClass(Class cls, Class ancestor) {
    if (!ancestor) return NO;
    for (Class c = cls; c; c = c->superclass)
        if (c == ancestor) return YES;
    return NO;
}

std::size_t class_getInstanceSize(Class cls) {
    if (!cls) return 0;
    std::lock_guard lock(runtime().methodLock);
    return cls->data->instanceSize;
}

std::vector<Class> objc_copyClassList() {
    auto& rt = runtime();
    std::shared_lock lock(rt.classLock);
    std::vector<Class> out;
    for (Class c : rt.allClasses)
        if (!rt.hiddenNames.count(c->data->name)) out.push_back(c);
    return out;
}

Class objc_allocateClassPair(Class superclass, const char* name, std::size_t extraBytes) {
    if (!name || !*name) return nullptr;
    auto& rt = runtime();
    std::unique_lock lock(rt.classLock);
    if (rt.classesByName.count(name)) return nullptr;
    for (Class c : rt.allClasses)
        if (!c->data->registered && c->data->name == name) return nullptr;

    Class cls = newClassObject(name, false);
    Class meta = newClassObject(name, true);
    cls->isa = meta;
    cls->superclass = superclass;
    cls->data->metaclass = meta;
    if (superclass) {
        meta->isa = rootMetaclassOf(superclass);
        meta->superclass = superclass->isa;
        std::lock_guard methods(rt.methodLock);
        cls->data->instanceSize = superclass->data->instanceSize + extraBytes;
        cls->data->alignment = superclass->data->alignment;
        cls->data->construct = superclass->data->construct;
    } else {
        // A root class: its metaclass is its own class and inherits from the root class.
        meta->isa = meta;
        meta->superclass = cls;
        cls->data->instanceSize = sizeof(objc_object) + extraBytes;
        cls->data->construct = [](void* memory) -> id { return new (memory) objc_object(); };
    }
    rt.allClasses.push_back(cls);
    return cls;
}

void objc_registerClassPair(Class cls) {
    if (!cls || cls->data->isMeta || cls->data->registered) return;
    auto& rt = runtime();
    std::unique_lock lock(rt.classLock);
    cls->data->registered = true;
    rt.classesByName[cls->data->name] = cls;
    rt.classTableGeneration.fetch_add(1, std::memory_order_release);
    std::lock_guard methods(rt.methodLock);
    if (cls->superclass) {
        cls->superclass->data->subclasses.push_back(cls);
        cls->superclass->isa->data->subclasses.push_back(cls->isa);
    }
}

void objc_hideClass(const char* name) {
    if (!name) return;
    std::unique_lock lock(runtime().classLock);
    runtime().hiddenNames.insert(name);
    runtime().classTableGeneration.fetch_add(1, std::memory_order_release);
}

void objc_unhideClass(const char* name) {
    if (!name) return;
    std::unique_lock lock(runtime().classLock);
    runtime().hiddenNames.erase(name);
    runtime().classTableGeneration.fetch_add(1, std::memory_order_release);
}

// --- Methods -----------------------------------------------------------------------------

namespace {

Method findMethodLocked(Class cls, SEL sel) {
    runtime().methodLock.assertLocked();
    for (Class c = cls; c; c = c->superclass) {
        auto it = c->data->methods.find(sel);
        if (it != c->data->methods.end()) return it->second;
    }
    return nullptr;
}

// What addMethodLocked did: the class's own implementation before the call (nil when the
// method is new), and whether the call changed it.
struct MethodChange {
    enum class Kind { added, replaced, kept, refused };
    Kind kind;
    IMP previous = nullptr;
};

void reportRefusedReplacement(Class cls, SEL sel, const char* ownTypes, const char* types) {
    std::fprintf(stderr, "objc: %c[%s %s] not replaced: the method's signature is %s, the new implementation's %s\n",
                 class_isMetaClass(cls) ? '+' : '-', class_getName(cls), sel_getName(sel), ownTypes, types);
}

// The one path for adding and replacing. A method the class has of its own is replaced only
// when `replace` is set, and only by an implementation of the same signature: its callers are
// typed by the signature it has, so another would be called with the wrong arguments (nil
// types make no claim and are taken as the method's own). Adding shadows inherited lookups, so
// caches below the class are flushed; replacing needs no flush because caches hold methods,
// whose implementation is read at every send, not implementations.
MethodChange addMethodLocked(Class cls, SEL sel, IMP imp, const char* types, bool replace) {
    runtime().methodLock.assertLocked();
    auto& methods = cls->data->methods;
    auto it = methods.find(sel);
    if (it != methods.end()) {
        Method own = it->second;
        IMP previous = own->imp.load(std::memory_order_acquire);
        if (!replace) return {MethodChange::Kind::kept, previous};
        if (types && std::strcmp(types, own->types) != 0) {
            reportRefusedReplacement(cls, sel, own->types, types);
            return {MethodChange::Kind::refused, previous};
        }
        return {MethodChange::Kind::replaced, own->imp.exchange(imp, std::memory_order_acq_rel)};
    }
    const char* interned = objc::detail::internTypes(types ? types : "");
    auto* m = new objc_method{sel, {imp}, interned, objc::signatureHash(interned)};
    methods.emplace(sel, m);
    flushCachesLocked(cls);
    return {MethodChange::Kind::added};
}

}  // namespace

Method class_getInstanceMethod(Class cls, SEL sel) {
    if (!cls || !sel) return nullptr;
    std::lock_guard lock(runtime().methodLock);
    return findMethodLocked(cls, sel);
}

Method class_getClassMethod(Class cls, SEL sel) { return cls ? class_getInstanceMethod(cls->isa, sel) : nullptr; }

Method class_getOwnMethod(Class cls, SEL sel) {
    if (!cls || !sel) return nullptr;
    std::lock_guard lock(runtime().methodLock);
    auto it = cls->data->methods.find(sel);
    return it == cls->data->methods.end() ? nullptr : it->second;
}

BOOL class_addMethod(Class cls, SEL sel, IMP imp, const char* types) {
    if (!cls || !sel || !imp) return NO;
    std::lock_guard lock(runtime().methodLock);
    return addMethodLocked(cls, sel, imp, types, false).kind == MethodChange::Kind::added;
}

IMP class_replaceMethod(Class cls, SEL sel, IMP imp, const char* types) {
    if (!cls || !sel || !imp) return nullptr;
    std::lock_guard lock(runtime().methodLock);
    MethodChange change = addMethodLocked(cls, sel, imp, types, true);
    return change.kind == MethodChange::Kind::replaced ? change.previous : nullptr;
}

IMP method_getImplementation(Method m) { return m ? m->imp.load(std::memory_order_acquire) : nullptr; }

IMP method_setImplementation(Method m, IMP imp) {
    if (!m) return nullptr;
    return m->imp.exchange(imp, std::memory_order_acq_rel);
}

SEL method_getName(Method m) { return m ? m->name : nullptr; }
const char* method_getTypeEncoding(Method m) { return m ? m->types : nullptr; }

BOOL class_respondsToSelector(Class cls, SEL sel) { return class_getInstanceMethod(cls, sel) != nullptr; }

// --- Instance variables -----------------------------------------------------------------

namespace {

Ivar findIvarLocked(Class cls, const char* name) {
    runtime().methodLock.assertLocked();
    for (Class c = cls; c; c = c->superclass)
        for (auto& ivar : c->data->ivars)
            if (std::strcmp(ivar->name, name) == 0) return ivar.get();
    return nullptr;
}

}  // namespace

BOOL class_addIvar(Class cls, const char* name, std::size_t size, std::size_t alignment, const char* types) {
    if (!cls || !name || cls->data->registered || cls->data->isMeta) return NO;
    std::lock_guard lock(runtime().methodLock);
    // Checked under the lock that the addition takes, so two threads cannot both add the name.
    if (findIvarLocked(cls, name)) return NO;
    auto& data = *cls->data;
    alignment = std::max<std::size_t>(alignment, 1);
    std::size_t offset = (data.instanceSize + alignment - 1) / alignment * alignment;
    data.ivars.push_back(std::make_unique<objc_ivar>(objc_ivar{strdup(name), strdup(types ? types : "?"),
                                                               static_cast<std::ptrdiff_t>(offset), size}));
    data.instanceSize = offset + size;
    data.alignment = std::max(data.alignment, alignment);
    return YES;
}

Ivar class_getInstanceVariable(Class cls, const char* name) {
    if (!name) return nullptr;
    std::lock_guard lock(runtime().methodLock);
    return findIvarLocked(cls, name);
}

std::ptrdiff_t ivar_getOffset(Ivar ivar) { return ivar ? ivar->offset : 0; }
const char* ivar_getName(Ivar ivar) { return ivar ? ivar->name : nullptr; }
const char* ivar_getTypeEncoding(Ivar ivar) { return ivar ? ivar->type : nullptr; }

id object_getIvar(id obj, Ivar ivar) {
    if (!obj || !ivar) return nullptr;
    id value;
    std::memcpy(&value, reinterpret_cast<char*>(obj) + ivar->offset, sizeof(id));
    return value;
}

void object_setIvar(id obj, Ivar ivar, id value) {
    if (!obj || !ivar) return;
    std::memcpy(reinterpret_cast<char*>(obj) + ivar->offset, &value, sizeof(id));
}

// --- Objects -----------------------------------------------------------------------------

id class_createInstance(Class cls, std::size_t extraBytes) {
    if (!cls) return nullptr;
    std::size_t size, alignment;
    Constructor construct;
    {
        std::lock_guard lock(runtime().methodLock);
        size = cls->data->instanceSize + extraBytes;
        alignment = cls->data->alignment;
        construct = cls->data->construct;
    }
    void* memory = ::operator new(size, std::align_val_t(alignment));
    std::memset(memory, 0, size);
    id obj = construct(memory);
    obj->isa = cls;
    return obj;
}

BOOL object_isKindOfClass(id obj, Class cls) {
    if (!obj || !cls) return NO;
    for (Class c = obj->isa; c; c = c->superclass)
        if (c == cls) return YES;
    return NO;
}
