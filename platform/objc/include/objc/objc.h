// Basic types of the object runtime: objects, classes, selectors, implementations.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

struct objc_class;
struct objc_selector;
struct objc_method;
struct objc_ivar;

using Class = objc_class*;
using SEL = const objc_selector*;
using Method = objc_method*;
using Ivar = objc_ivar*;
using BOOL = bool;

// An implementation in its type-erased form. Message sending casts it back to the
// exact function type named by the method's signature; see <objc/message.h>.
using IMP = void (*)();

constexpr BOOL YES = true;
constexpr BOOL NO = false;

// Every object starts with its class pointer and its reference count. The count starts
// at one: whoever creates an object owns it. Class objects and literal strings are immortal.
struct objc_object {
    Class isa = nullptr;
    std::atomic<long> retainCount_{1};

    objc_object() = default;
    objc_object(const objc_object&) = delete;
    objc_object& operator=(const objc_object&) = delete;
    virtual ~objc_object() = default;
};

using id = objc_object*;

constexpr std::nullptr_t nil = nullptr;
