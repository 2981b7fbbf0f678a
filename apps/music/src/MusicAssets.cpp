// The Music app's pictures: PNG files of its asset folder answered by name, and album art of the media library by file.
#include <music/MusicApp.h>
#include <music/MusicAssets.h>

#include <Foundation/NSString.h>
#include <UIKit/UIImage.h>
#include <device/device.h>
#include <objc/Strong.h>
#include <objc/message.h>

#include <array>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>

namespace music {

namespace {

// A 3× screen takes the sharpest variant there is.
constexpr std::array<std::string_view, 3> kVariants = {"@3x.png", "@2x.png", ".png"};

// Keyed by the file's host path, so that a host that moves to another device does not get
// the images of the one before. Entries live as long as the process, as the phone's cache
// keeps images the app still shows.
std::mutex gCacheLock;
std::map<std::string, objc::Strong<objc_object>> gCache;

// Names already answered on the device of gNamedRoot, so that asking again is a lookup, as on
// the phone, rather than a walk of the file system. The images are those of gCache. Guarded
// by gCacheLock.
std::string gNamedRoot;
std::unordered_map<std::string, id> gNamed;

// The image answered for `name` before on the device at `root`, or nil. Forgets every name
// when the device has changed since.
id rememberedAsset(const std::string& root, std::string_view name) {
    std::lock_guard lock(gCacheLock);
    if (root != gNamedRoot) {
        gNamed.clear();
        gNamedRoot = root;
        return nil;
    }
    auto found = gNamed.find(std::string(name));
    return found == gNamed.end() ? nil : found->second;
}

// A name with a scale of its own ("Play@3x") names a file, not an asset.
bool isAssetName(std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos) return false;
    return !(name.size() > 3 && name[name.size() - 3] == '@' && name.back() == 'x');
}

// The image of the device file `devicePath`, loaded once per host file; nil when it is no
// readable picture. Called with gCacheLock held.
id cachedImage(const std::string& devicePath, const std::filesystem::path& hostPath) {
    auto& cached = gCache[hostPath.string()];
    if (!cached) {
        objc::AutoreleasePool pool;
        cached = objc::adopt(msg<id>(msg<id>(objc_getClass("UIImage"), sel<"alloc">()), sel<"initWithContentsOfFile:">(),
                                     static_cast<id>(objc::str(devicePath))));
    }
    return cached.get();
}

bool isAppBundle(id bundle) {
    return !bundle || objc::utf8(msg<id>(bundle, sel<"bundlePath">())) == kBundlePath;
}

}  // namespace

id assetNamed(std::string_view name) {
    if (!isAssetName(name)) return nil;
    const std::string root = device::root().native();
    if (id remembered = rememberedAsset(root, name)) return remembered;
    for (std::string_view variant : kVariants) {
        std::string devicePath = std::string(kAssetFolder) + std::string(name) + std::string(variant);
        auto hostPath = device::resolve(devicePath);
        std::error_code error;
        if (!hostPath || !std::filesystem::is_regular_file(*hostPath, error)) continue;

        std::lock_guard lock(gCacheLock);
        // An unreadable file is no asset; the next variant may still be one.
        if (id image = cachedImage(devicePath, *hostPath)) {
            if (root == gNamedRoot) gNamed[std::string(name)] = image;
            return image;
        }
    }
    return nil;
}

id libraryArtwork(std::string_view name) {
    if (!isAssetName(name)) return nil;
    std::string devicePath = std::string(kArtworkFolder) + std::string(name) + "@2x.png";
    auto hostPath = device::resolve(devicePath);
    std::error_code error;
    if (!hostPath || !std::filesystem::is_regular_file(*hostPath, error)) return nil;
    std::lock_guard lock(gCacheLock);
    return cachedImage(devicePath, *hostPath);
}

void installAssetCatalog() {
    platform::setNamedImageProvider([](const std::string& name, id bundle) -> id {
        return isAppBundle(bundle) ? assetNamed(name) : nil;
    });
}

}  // namespace music
