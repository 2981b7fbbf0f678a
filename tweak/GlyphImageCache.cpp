// The cache of composed placeholders, guarded so that each key is composed exactly once.
#include "GlyphImageCache.h"

#include <objc/message.h>

#include <mutex>

namespace obscuro {

namespace {
id cache = nullptr;  // NSMutableDictionary, owned for the life of the process
std::mutex cacheLock;
}  // namespace

void createGlyphImageCache() {
    std::lock_guard lock(cacheLock);
    if (!cache) cache = msg<id>(objc_getClass("NSMutableDictionary"), sel<"new">());
}

id glyphImage(id key, id (*compose)(id key)) {
    std::lock_guard lock(cacheLock);
    if (id image = msg<id>(cache, sel<"objectForKey:">(), key)) return image;
    id image = compose(key);
    if (image) msg<void>(cache, sel<"setObject:forKey:">(), image, key);
    return msg<id>(cache, sel<"objectForKey:">(), key);
}

}  // namespace obscuro
