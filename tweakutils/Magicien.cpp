// Magicien: the hidden-string store and its developer tools.
#include "Magicien.h"

#include <Foundation/Foundation.h>

#include <openssl/evp.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Salt sources recorded by storeKeyForSalt, for the life of the process. The phone's
// registry is meant to be filled at start-up and has no lock; ours takes one anyway.
struct SaltRegistry {
    std::mutex lock;
    objc::Strong<objc_object> sources;  // NSMutableDictionary, made on first store
};

SaltRegistry& saltRegistry() {
    static auto* registry = new SaltRegistry;  // never destroyed: lives as long as the process
    return *registry;
}

Ivar saltIvar() {
    static Ivar ivar = class_getInstanceVariable(Magicien::class_(), "_salt");
    return ivar;
}

std::string saltSourceOf(std::initializer_list<Class> classes) {
    std::string source;
    for (Class cls : classes) {
        if (!cls) break;
        source += objc::utf8(NSStringFromClass(cls));
    }
    return source;
}

void combineWithSalt(std::string& bytes, std::string_view salt) {
    if (salt.empty()) return;
    std::size_t j = 0;
    for (char& byte : bytes) {
        byte = static_cast<char>(byte ^ salt[j]);
        if (++j == salt.size()) j = 0;
    }
}

id decodeUTF8(const std::string& bytes) {
    id decoded = msg<id>(msg<id>(objc_getClass("NSString"), sel<"alloc">()), sel<"initWithBytes:length:encoding:">(),
                         static_cast<const void*>(bytes.data()), static_cast<unsigned long>(bytes.size()),
                         static_cast<unsigned long>(NSUTF8StringEncoding));
    return objc::autorelease(decoded);
}

std::string upperHex(unsigned value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%X", value);
    return digits;
}

unsigned long countOf(id collection) { return msg<unsigned long>(collection, sel<"count">()); }
id objectAt(id array, unsigned long index) { return msg<id>(array, sel<"objectAtIndex:">(), index); }

constexpr objc_method_entry kMagicienClassMethods[] = {
    objc::lambdaMethod<"newWithSaltUnsafe:">([](Class, SEL, id source) -> id {
            return Magicien::newWithSaltUnsafe(source).release();
        }),
    objc::lambdaMethod<"hashSaltUsingSHA1:">([](Class, SEL, id string) { return Magicien::hashSaltUsingSHA1(string); }),
    objc::lambdaMethod<"newUsingStoredSalt:">([](Class, SEL, id key) -> id {
            return Magicien::newUsingStoredSalt(key).release();
        }),
    objc::lambdaMethod<"reveal:UsingStoredSalt:">([](Class, SEL, const unsigned char* stored, id key) {
            return Magicien::revealUsingStoredSalt(stored, key);
        }),
    objc::lambdaMethod<"generateCodeWithSalt:WithStrings:">([](Class, SEL, id salt, id strings) { return Magicien::generateCodeWithSaltWithStrings(salt, strings); }),
    objc::lambdaMethod<"generateCodeWithSaltUnsafe:WithStrings:">([](Class, SEL, id salt, id strings) { return Magicien::generateCodeWithSaltUnsafeWithStrings(salt, strings); }),
    objc::lambdaMethod<"generateCodeWithSaltUnsafe:WithStrings:silence:successfulP:unsuccessfulP:">([](Class, SEL, id salt, id strings, BOOL silence, id* successful, id* unsuccessful) {
                         return Magicien::generateCodeWithSaltUnsafeWithStringsSilenceSuccessfulPUnsuccessfulP(
                             salt, strings, silence, successful, unsuccessful);
                     }),
    objc::lambdaMethod<"printHex:">([](Class, SEL, id string) { return Magicien::printHex(string); }),
    objc::lambdaMethod<"printHex:WithKey:">([](Class, SEL, id string, id key) { return Magicien::printHexWithKey(string, key); }),
    objc::lambdaMethod<"logCodeWithSuccessful:unsuccessful:">([](Class, SEL, id successful, id unsuccessful) {
            Magicien::logCodeWithSuccessfulUnsuccessful(successful, unsuccessful);
        }),
    objc::lambdaMethod<"stringFromClasses:">([](Class, SEL, id classes) { return Magicien::stringFromClasses(classes); }),
    objc::lambdaMethod<"allPermutationsOfArray:">([](Class, SEL, id array) { return Magicien::allPermutationsOfArray(array); }),
};

constexpr objc_method_entry kMagicienInstanceMethods[] = {
    objc::lambdaMethod<"salt">([](Magicien* self, SEL) { return self->salt(); }),
    objc::lambdaMethod<"setSalt:">([](Magicien* self, SEL, id salt) { self->setSalt(salt); }),
    objc::lambdaMethod<"dirMoi:">([](Magicien* self, SEL, const unsigned char* stored) { return self->dirMoi(stored); }),
    objc::lambdaMethod<"CStringToNSString:">([](Magicien* self, SEL, const char* cString) { return self->CStringToNSString(cString); }),
    objc::lambdaMethod<"convertNSStringtoCString:">([](Magicien* self, SEL, id string) { return self->convertNSStringtoCString(string); }),
    objc::lambdaMethod<"hexByObfuscatingString:">([](Magicien* self, SEL, id string) { return self->hexByObfuscatingString(string); }),
    objc::lambdaMethod<"hexByObfuscatingString:silence:">([](Magicien*, SEL, id, BOOL) -> id { return nil; }),
};

constexpr objc_ivar_entry kMagicienIvars[] = {{"_salt", "@", sizeof(id), alignof(id)}};

}  // namespace

constinit const objc_class_entry kMagicienClass{
    "Magicien", "NSObject", sizeof(Magicien), alignof(Magicien), [](void* memory) -> id { return new (memory) Magicien(); },
    kMagicienIvars, kMagicienInstanceMethods, kMagicienClassMethods};

// The class is in the library's list, which the loader attaches; the library's own initialiser
// may need it first, so whoever comes first registers it.
Class Magicien::class_() {
    static Class cls = objc_readClassEntry(kMagicienClass);
    return cls;
}

// --- Making stores ----------------------------------------------------------------------

objc::Strong<Magicien> Magicien::nouvoAvecDisel(std::initializer_list<Class> classes) {
    return newWithSaltUnsafe(objc::str(saltSourceOf(classes)));
}

objc::Strong<Magicien> Magicien::newWithSaltUnsafe(id saltSource) {
    auto store = objc::adopt(objc::createInstance<Magicien>(class_()));
    store->setSalt(hashSaltUsingSHA1(saltSource));
    return store;
}

id Magicien::hashSaltUsingSHA1(id string) {
    std::string bytes = objc::utf8(string);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &digestLength, EVP_sha1(), nullptr);
    std::string hex;
    for (unsigned int i = 0; i < digestLength; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return objc::str(hex);
}

// --- Registry ---------------------------------------------------------------------------

void Magicien::storeKeyForSalt(id key, std::initializer_list<Class> classes) {
    if (!key) return;
    id source = objc::str(saltSourceOf(classes));
    auto& registry = saltRegistry();
    std::lock_guard lock(registry.lock);
    if (!registry.sources)
        registry.sources = objc::adopt(msg<id>(objc_getClass("NSMutableDictionary"), sel<"new">()));
    msg<void>(registry.sources.get(), sel<"setObject:forKey:">(), source, key);
}

objc::Strong<Magicien> Magicien::newUsingStoredSalt(id key) {
    if (!key) return nullptr;
    objc::Strong<objc_object> source;
    {
        auto& registry = saltRegistry();
        std::lock_guard lock(registry.lock);
        source = objc::retain(msg<id>(registry.sources.get(), sel<"objectForKey:">(), key));
    }
    if (!source) return nullptr;
    return newWithSaltUnsafe(source.get());
}

id Magicien::revealUsingStoredSalt(const unsigned char* stored, id key) {
    auto store = newUsingStoredSalt(key);
    return store ? store->dirMoi(stored) : nil;
}

// --- Developer tools --------------------------------------------------------------------

BOOL Magicien::generateCodeWithSaltWithStrings(id, id) { return YES; }
BOOL Magicien::generateCodeWithSaltUnsafeWithStrings(id, id) { return YES; }
BOOL Magicien::generateCodeWithSaltUnsafeWithStringsSilenceSuccessfulPUnsuccessfulP(id, id, BOOL, id*, id*) { return YES; }

id Magicien::printHex(id string) { return printHexWithKey(string, nil); }

id Magicien::printHexWithKey(id string, id key) {
    std::string name = key ? objc::utf8(key) : "key";
    std::string text = "const unsigned char _" + name + "[] = { ";
    unsigned long length = msg<unsigned long>(string, sel<"length">());
    for (unsigned long i = 0; i < length; ++i)
        text += "0x" + upperHex(msg<unsigned short>(string, sel<"characterAtIndex:">(), i)) + ", ";
    // An empty string still makes a valid definition: just the terminator.
    text += "0x00 };";
    return objc::str(text);
}

void Magicien::logCodeWithSuccessfulUnsuccessful(id successful, id unsuccessful) {
    unsigned long failures = countOf(unsuccessful);
    if (failures > 0) {
        std::string text = "Could not obfuscate these strings:\n";
        for (unsigned long i = 0; i < failures; ++i) text += objc::utf8(objectAt(unsuccessful, i)) + "\n";
        NSLog("%@-------------------------------", objc::str(text));
    }
    unsigned long entries = countOf(successful);
    if (entries == 0) return;
    std::string header, body;
    for (unsigned long i = 0; i < entries; ++i) {
        id entry = objectAt(successful, i);
        id original = msg<id>(entry, sel<"objectForKey:">(), NSSTR("original"));
        id obfuscated = msg<id>(entry, sel<"objectForKey:">(), NSSTR("obfuscated"));
        id key = msg<id>(entry, sel<"objectForKey:">(), NSSTR("key"));
        std::string name = key ? objc::utf8(key) : "key";
        std::string definition = objc::utf8(key ? printHexWithKey(obfuscated, key) : printHex(obfuscated));
        header += "extern const unsigned char *" + name + ";\n";
        body += "//Original: \"" + objc::utf8(original) + "\"\n" + definition + "\nconst unsigned char *" + name + " = &_" +
                name + "[0];\n\n";
    }
    NSLog("%@", objc::str("Magicien: generated code for " + std::to_string(entries) + " hidden strings\n" +
                          "**********Globals.h**********\n" + header + "\n**********Globals.m**********\n" + body));
}

id Magicien::stringFromClasses(id classes) {
    std::string names;
    unsigned long count = countOf(classes);
    for (unsigned long i = 0; i < count; ++i) {
        id element = objectAt(classes, i);
        if (class_isMetaClass(object_getClass(element)))
            names += objc::utf8(NSStringFromClass(reinterpret_cast<Class>(element)));
    }
    return objc::str(names);
}

id Magicien::allPermutationsOfArray(id array) {
    Class mutableArray = objc_getClass("NSMutableArray");
    unsigned long count = countOf(array);
    auto working = objc::adopt(msg<id>(mutableArray, sel<"new">()));
    for (unsigned long pass = 0; pass < count; ++pass) {
        auto next = objc::adopt(msg<id>(mutableArray, sel<"new">()));
        if (countOf(working.get()) == 0) {
            for (unsigned long e = 0; e < count; ++e)
                msg<void>(next.get(), sel<"addObject:">(), msg<id>(objc_getClass("NSArray"), sel<"arrayWithObject:">(), objectAt(array, e)));
        } else {
            unsigned long partials = countOf(working.get());
            for (unsigned long e = 0; e < count; ++e) {
                id element = objectAt(array, e);
                for (unsigned long p = 0; p < partials; ++p) {
                    id partial = objectAt(working.get(), p);
                    if (!msg<BOOL>(partial, sel<"containsObject:">(), element))
                        msg<void>(next.get(), sel<"addObject:">(), msg<id>(partial, sel<"arrayByAddingObject:">(), element));
                }
            }
        }
        working = next;
    }
    return objc::autorelease(msg<id>(working.get(), sel<"copy">()));
}

// --- A store's own operations -----------------------------------------------------------

id Magicien::salt() {
    id value;
    {
        std::lock_guard lock(saltLock_);
        value = objc_retain(object_getIvar(this, saltIvar()));
    }
    return objc_autorelease(value);
}

void Magicien::setSalt(id salt) {
    objc_retain(salt);
    id previous;
    {
        std::lock_guard lock(saltLock_);
        previous = object_getIvar(this, saltIvar());
        object_setIvar(this, saltIvar(), salt);
    }
    objc_release(previous);
}

id Magicien::dirMoi(const unsigned char* stored) {
    if (!stored) return nil;
    std::string bytes = objc::utf8(CStringToNSString(reinterpret_cast<const char*>(stored)));
    combineWithSalt(bytes, objc::utf8(salt()));
    return decodeUTF8(bytes);
}

id Magicien::CStringToNSString(const char* cString) { return objc::format("%s", cString ? cString : "(null)"); }

char* Magicien::convertNSStringtoCString(id string) {
    unsigned long length = msg<unsigned long>(string, sel<"length">());
    auto* buffer = static_cast<char*>(std::malloc(length + 1));
    if (!buffer) return nullptr;
    for (unsigned long i = 0; i < length; ++i)
        buffer[i] = static_cast<char>(msg<unsigned short>(string, sel<"characterAtIndex:">(), i) & 0xFF);
    buffer[length] = '\0';
    return buffer;
}

id Magicien::hexByObfuscatingString(id) { return nil; }

std::vector<unsigned char> magicienStoredForm(std::string_view text, std::string_view salt) {
    std::string bytes(text);
    combineWithSalt(bytes, salt);
    std::vector<unsigned char> stored(bytes.begin(), bytes.end());
    stored.push_back(0);
    return stored;
}
