// Private state of the runtime: the class table, per-class data and the locks that guard them.
#pragma once

#include <objc/ClassBuilder.h>
#include <objc/category.h>

#include "owned_mutex.h"
#include <objc/runtime.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct objc_selector {
    std::string name;
};

namespace objc::detail {

struct ClassData {
    std::string name;
    bool isMeta = false;
    bool registered = false;
    Class metaclass = nullptr;  // for a class: its metaclass; for a metaclass: nil
    std::size_t instanceSize = 0;
    std::size_t alignment = alignof(std::max_align_t);
    Constructor construct = nullptr;  // builds the C++ part of an instance
    std::unordered_map<SEL, Method> methods;
    std::vector<std::unique_ptr<objc_ivar>> ivars;  // this class's own, in declaration order
    std::vector<Class> subclasses;
};

struct Runtime {
    // Guards the name table and class registration.
    std::shared_mutex classLock;
    std::unordered_map<std::string, Class> classesByName;
    std::unordered_set<std::string> hiddenNames;
    std::vector<Class> allClasses;
    // Moves, under classLock, after every change to what a name lookup can find.
    std::atomic<unsigned long> classTableGeneration{0};

    // Guards method tables, caches and class data other than names.
    OwnedMutex methodLock;
    std::vector<MethodCache*> retiredCaches;  // readers may still hold them; kept for the process

    std::mutex selectorLock;
    std::unordered_map<std::string, std::unique_ptr<objc_selector>> selectors;

    // Guards the set of images attached, so that a library opened twice is attached once.
    std::mutex imageLock;
    std::unordered_set<const objc_image_info*> attachedImages;

    std::mutex typesLock;
    std::unordered_set<std::string> types;
    std::unordered_map<const char*, Invoker> invokers;
};

Runtime& runtime();

// Attaches the list of a library just opened; the platform's loader calls this.
void attachLoadedImage(void* handle);

// Drops every cached method of `cls` and its subclasses. Called with methodLock held when
// a method is added, since only caches below the class can hold a lookup it now shadows.
void flushCachesLocked(Class cls);

}  // namespace objc::detail
