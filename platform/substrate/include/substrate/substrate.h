// The hooking service: replaces a method of a class and hands back the implementation it replaced.
#pragma once

#include <objc/runtime.h>

// Makes `replacement` the implementation of `selector` for `cls` and its subclasses, and
// stores the implementation `cls` used until now into *result (when result is not nil):
// - `cls` implements the selector itself: its implementation is swapped for `replacement`;
// - `cls` only inherits it: `cls` gets a method of its own, with the inherited method's type
//   encoding, and the superclass keeps its implementation;
// - `cls` is nil: nothing happens and *result is left as it was;
// - nothing in the chain implements it, or `selector`/`replacement` is nil: nothing is
//   installed, *result is left as it was, and a line on stderr names class and selector.
// Class methods are hooked by passing the metaclass (object_getClass of the class). Hooking
// the same selector again chains: the newest replacement runs first and reaches the older
// ones through the implementations they saved.
void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result);
