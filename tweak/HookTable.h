// The HookTable: every method the tweak replaces, in installation order, with what the table keeps per entry.
#pragma once

#include <objc/message.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace obscuro {

constexpr std::size_t kHookCount = 77;

// What the table keeps for its entries, indexed by entry number (1 to kHookCount; element 0
// is unused, so that an entry's number is its index). Constant-initialised: the library has no
// initialiser but its constructor.
struct HookTableSlots {
    // The implementation each entry replaced, stored by the hooking service; empty while the
    // entry's class was absent at installation.
    IMP savedImplementations[kHookCount + 1] = {};
    // Whether the entry's class existed when the table was installed.
    bool classPresent[kHookCount + 1] = {};
    // Whether the entry's replacement is in place: its class existed and was handed to the hooking service.
    bool installed[kHookCount + 1] = {};
    // Whether installation has run at all (it does not while the product is off at load).
    bool tableInstalled = false;
    // How often each entry's replacement ran. Relaxed: counts for tools, ordering nothing, and
    // the named-image replacement runs on any thread.
    std::atomic<std::uint64_t> calls[kHookCount + 1] = {};
};

extern constinit HookTableSlots hookSlots;

template <std::size_t Entry>
inline IMP saved() {
    static_assert(Entry >= 1 && Entry <= kHookCount);
    return hookSlots.savedImplementations[Entry];
}

// Calls the implementation that entry `Entry` replaced, with the receiver and selector given.
template <std::size_t Entry, class R = void, class... A>
inline R callThrough(id self, SEL cmd, A... args) {
    return objc::callIMP<R>(saved<Entry>(), self, cmd, args...);
}

enum class Side { Instance, Class };

struct HookEntry {
    std::size_t number;  // the entry's place in the table, from 1; names its slots
    const char* className;
    Side side;
    const char* selector;
    IMP replacement;
};

// The table proper, in installation order.
std::span<const HookEntry> hookTable();

// The entry that replaces `selector` of `className` (as spelled in the table), or nil.
const HookEntry* findHookEntry(std::string_view className, std::string_view selector);

// The implementation `entry` replaced; empty while its class was absent at installation.
inline IMP savedImplementationOf(const HookEntry& entry) { return hookSlots.savedImplementations[entry.number]; }

// Installs every entry in table order through the hooking service.
void installHookTable();

}  // namespace obscuro
