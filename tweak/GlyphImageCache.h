// GlyphImageCache: composed placeholder images by cache key, for the life of the process.
#pragma once

#include <objc/runtime.h>

namespace obscuro {

// Created empty by the constructor, before the settings are first read.
void createGlyphImageCache();

// The image stored under `key`, composing it with `compose` the first time. Named images
// load on any thread, so a key is composed once even when several threads ask at once.
id glyphImage(id key, id (*compose)(id key));

}  // namespace obscuro
