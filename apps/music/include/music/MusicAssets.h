// The Music app's pictures: the named images of its asset catalogue, and the album art of the media library.
#pragma once

#include <objc/objc.h>

#include <string_view>

namespace music {

// The device folder of the catalogue. An asset "NAME" is the file "NAME@3x.png", "NAME@2x.png"
// or "NAME.png" there, tried in that order (the image's scale follows the file name).
inline constexpr const char* kAssetFolder = "/Applications/Music.app/Assets/";

// The asset called `name` (borrowed; the catalogue keeps every image it loaded, so the same
// name on the same device answers the same image, as the phone's named-image cache does), or
// nil when the catalogue has no such asset, or `name` is empty, holds a "/" or ends in a
// scale ("@3x"). Thread-safe: named images are loaded on any thread.
id assetNamed(std::string_view name);

// The device folder of the media library's album art: "NAME@2x.png" files, which the app
// loads by path (imageWithContentsOfFile:), never by name, as art is not part of its bundle.
inline constexpr const char* kArtworkFolder = "/var/mobile/Media/Artwork/";

// The album art called `name` (borrowed and kept, as assetNamed keeps its images), or nil when
// the library has no such art or `name` is not a plain file stem. Thread-safe.
id libraryArtwork(std::string_view name);

// Makes the stock UIImage imageNamed:inBundle:compatibleWithTraitCollection: answer from the
// catalogue for the app's own bundle: a nil bundle (the main bundle, as imageNamed: sends it)
// or the bundle at kBundlePath. Other bundles get nil.
void installAssetCatalog();

}  // namespace music
