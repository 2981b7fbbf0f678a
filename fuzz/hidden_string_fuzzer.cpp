// Fuzz target: the hidden-string store's reveal on arbitrary stored bytes and salts.
#include "Magicien.h"
#include "scratch_device.h"

#include <Foundation/Foundation.h>

#include <string>

namespace {

void checkRevealed(id revealed) {
    if (revealed && !object_isKindOfClass(revealed, NSString::class_())) fuzzing::broken("a reveal is a string or nil");
}

}  // namespace

// The input is the salt source, then the stored bytes (a NUL ends them early, as it ends a
// stored array), separated by a fuzzing::kFileSeparator line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    objc::AutoreleasePool pool;
    auto parts = fuzzing::splitFiles({reinterpret_cast<const char*>(data), size});
    std::string stored(parts.size() > 1 ? parts[1] : std::string_view());
    const auto* storedBytes = reinterpret_cast<const unsigned char*>(stored.c_str());

    // A store salted the usual way: the SHA-1 of the salt source.
    auto store = Magicien::newWithSaltUnsafe(objc::str(parts[0]));
    checkRevealed(store->dirMoi(storedBytes));

    // A salt of any length and content, set directly.
    store->setSalt(objc::str(parts[0]));
    checkRevealed(msg<id>(store.get(), sel<"dirMoi:">(), storedBytes));

    // The registry, under a key that holds a salt source and one that does not.
    Magicien::storeKeyForSalt(NSSTR("fuzz"), {objc_getClass("NSObject"), objc_getClass("NSString"), nil});
    checkRevealed(Magicien::revealUsingStoredSalt(storedBytes, NSSTR("fuzz")));
    if (Magicien::revealUsingStoredSalt(storedBytes, objc::str(parts[0] == "fuzz" ? "" : parts[0])))
        fuzzing::broken("an unknown registry key reveals nothing");

    // The store's own conversions.
    char* cString = store->convertNSStringtoCString(objc::str(stored));
    std::free(cString);
    checkRevealed(store->CStringToNSString(stored.c_str()));
    return 0;
}
