// Magicien: the hidden-string store, which keeps short text constants as bytes combined with a salt made from class names.
#pragma once

#include <objc/NSObject.h>
#include <objc/category.h>

#include <initializer_list>
#include <mutex>
#include <string_view>
#include <vector>

// A store holds one salt: the 40 lower-case hexadecimal characters of the SHA-1 digest of
// a salt source, the runtime names of a list of classes run together. A constant is kept as
// a NUL-terminated array whose byte i is text[i] ^ salt[i % 40]; a store with the same salt
// turns the array back into the text. The salt itself is never stored.
//
// The class is the runtime class "Magicien" (base NSObject), registered when the library loads
// or, if the library's own code gets there first, the first time class_() is called; every
// operation below is also a method of that runtime class. The
// salt is an atomic property backed by the object-typed instance variable "_salt".
class Magicien : public NSObject {
public:
    static Class class_();

    // --- Making stores ---------------------------------------------------------------

    // A new store salted with the runtime names of `classes` in order. The list ends at its
    // first nil: a list starting with nil gives the salt of the empty string.
    static objc::Strong<Magicien> nouvoAvecDisel(std::initializer_list<Class> classes);
    // A new store whose salt is hashSaltUsingSHA1 of `saltSource`.
    static objc::Strong<Magicien> newWithSaltUnsafe(id saltSource);
    // SHA-1 of the string's UTF-8 bytes as 40 lower-case hexadecimal characters (nil reads as empty).
    static id hashSaltUsingSHA1(id string);

    // --- The process-wide registry of salt sources ------------------------------------

    // Records the salt source of `classes` (as nouvoAvecDisel builds it) under `key`,
    // replacing an earlier one. A nil key records nothing.
    static void storeKeyForSalt(id key, std::initializer_list<Class> classes);
    // A new store from the salt source recorded under `key`; empty when there is none.
    static objc::Strong<Magicien> newUsingStoredSalt(id key);
    // The text of `stored` revealed with the salt source recorded under `key`; nil when the
    // registry has no such key.
    static id revealUsingStoredSalt(const unsigned char* stored, id key);

    // --- Developer tools ----------------------------------------------------------------

    // Code generation lives outside the deliverables: these answer YES and do nothing.
    static BOOL generateCodeWithSaltWithStrings(id salt, id strings);
    static BOOL generateCodeWithSaltUnsafeWithStrings(id salt, id strings);
    static BOOL generateCodeWithSaltUnsafeWithStringsSilenceSuccessfulPUnsuccessfulP(id salt, id strings, BOOL silence,
                                                                                      id* successful, id* unsuccessful);
    // printHexWithKey with the key "key".
    static id printHex(id string);
    // C source of a NUL-terminated byte array named "_<key>" holding the string's UTF-16 code
    // units: "const unsigned char _key[] = { 0x41, 0x42, 0x00 };". Nil key means "key".
    static id printHexWithKey(id string, id key);
    // Logs the failed strings (if any), then the generated header and source for the
    // successful entries: dictionaries with "original", "obfuscated" and optionally "key".
    static void logCodeWithSuccessfulUnsuccessful(id successful, id unsuccessful);
    // The runtime names of the classes in the array, run together.
    static id stringFromClasses(id classes);
    // Every ordering of the array's elements, as an immutable array of arrays. Elements
    // equal by isEqual: never appear twice in one ordering.
    static id allPermutationsOfArray(id array);

    // --- A store's own operations -----------------------------------------------------

    // Retained and autoreleased under the property lock.
    id salt();
    void setSalt(id salt);
    // The text of a stored NUL-terminated array: its bytes combined with the salt, decoded
    // as UTF-8. Nil for a nil array or bytes that are not UTF-8. An empty salt leaves the
    // bytes as they are.
    id dirMoi(const unsigned char* stored);
    // The C string as an NSString, formatted with "%s".
    id CStringToNSString(const char* cString);
    // A malloc'd NUL-terminated copy holding the low byte of each UTF-16 code unit; the
    // caller frees it. A nil string gives an empty C string.
    char* convertNSStringtoCString(id string);
    // Part of the generation side: always nil.
    id hexByObfuscatingString(id string);

private:
    std::mutex saltLock_;
};

// The runtime's description of the class, listed with the toolkit's categories.
extern const objc_class_entry kMagicienClass;

// The stored form of `text` under `salt` (the 40-character hexadecimal salt), NUL terminator
// included. A text byte equal to its salt byte gives a 0 that would end the array early:
// check the result before keeping it. The same combination reveals a stored form.
std::vector<unsigned char> magicienStoredForm(std::string_view text, std::string_view salt);
