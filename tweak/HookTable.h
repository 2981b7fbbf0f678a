// The HookTable: every method the tweak replaces, in installation order, with its saved-implementation slot.
#pragma once

#include <objc/message.h>

#include <cstddef>
#include <span>

namespace obscuro {

constexpr std::size_t kHookCount = 77;

// One saved-implementation slot per entry, numbered like the table from 1. A slot stays
// empty when its class is absent from the running app.
extern IMP savedImplementations[kHookCount + 1];

template <std::size_t Entry>
inline IMP saved() {
    static_assert(Entry >= 1 && Entry <= kHookCount);
    return savedImplementations[Entry];
}

// Calls the implementation that entry `Entry` replaced, with the receiver and selector given.
template <std::size_t Entry, class R = void, class... A>
inline R callThrough(id self, SEL cmd, A... args) {
    return objc::callIMP<R>(saved<Entry>(), self, cmd, args...);
}

enum class Side { Instance, Class };

struct HookEntry {
    std::size_t number;  // the entry's place in the table; it names its saved-implementation slot
    const char* className;
    Side side;
    const char* selector;
    IMP replacement;
};

// The table proper, in installation order.
std::span<const HookEntry> hookTable();

// Whether entry N was installed at load (its class existed), for diagnostics.
extern bool hookInstalled[kHookCount + 1];

// Installs every entry in table order through the hooking service.
void installHookTable();

}  // namespace obscuro
