// Attaching the classes and categories a library carries as data, when the library or the program loads.
#include "runtime_internal.h"

#include <objc/category.h>

#include <dlfcn.h>

#include <cstdio>
#include <mutex>

namespace {

void addMethods(Class cls, std::span<const objc_method_entry> methods) {
    for (const objc_method_entry& entry : methods) {
        const char* interned = objc::detail::internTypes(entry.types);
        objc::registerInvoker(interned, entry.invoker);
        class_replaceMethod(cls, sel_registerName(entry.name), entry.implementation(), interned);
    }
}

Class metaclassOf(Class cls) { return object_getClass(reinterpret_cast<id>(cls)); }

}  // namespace

Class objc_readClassEntry(const objc_class_entry& entry) {
    Class cls = objc_getClass(entry.name);
    if (!cls) {
        Class superclass = entry.superclassName ? objc_getClass(entry.superclassName) : nullptr;
        if (entry.superclassName && !superclass) {
            std::fprintf(stderr, "objc: class %s not loaded: its superclass %s is missing\n", entry.name, entry.superclassName);
            return nullptr;
        }
        Class fresh = objc::detail::allocateCxxClassPair(superclass, entry.name, entry.instanceSize, entry.alignment, entry.construct);
        // Another thread registered it between the lookup and the allocation.
        if (!fresh) return objc_getClass(entry.name);
        for (const objc_ivar_entry& ivar : entry.ivars) class_addIvar(fresh, ivar.name, ivar.size, ivar.alignment, ivar.types);
        addMethods(fresh, entry.instanceMethods);
        addMethods(metaclassOf(fresh), entry.classMethods);
        objc_registerClassPair(fresh);
        return fresh;
    }
    addMethods(cls, entry.instanceMethods);
    addMethods(metaclassOf(cls), entry.classMethods);
    return cls;
}

void objc_attachImage(const objc_image_info& image) {
    {
        auto& rt = objc::detail::runtime();
        std::lock_guard lock(rt.imageLock);
        if (!rt.attachedImages.insert(&image).second) return;
    }
    for (const objc_class_entry& entry : image.classes) objc_readClassEntry(entry);
    for (const objc_category_entry& category : image.categories) {
        Class cls = objc_getClass(category.className);
        if (!cls) continue;
        addMethods(cls, category.instanceMethods);
        addMethods(metaclassOf(cls), category.classMethods);
    }
}

namespace objc::detail {

void attachLoadedImage(void* handle) {
    if (!handle) return;
    // dlsym searches the library and what it depends on; none of the platform's libraries
    // defines the list, so what is found is the library's own.
    if (auto* image = static_cast<const objc_image_info*>(::dlsym(handle, OBJC_CATLIST_SYMBOL))) objc_attachImage(*image);
    ::dlerror();  // a library without a list is not an error of the caller's
}

}  // namespace objc::detail
