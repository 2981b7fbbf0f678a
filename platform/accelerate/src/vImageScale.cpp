// vImageScale_ARGB8888: argument checks with the phone's error codes, then resampling with libvips, opened on first use.
#include <Accelerate/Accelerate.h>

#include <vips/vips.h>

#include <dlfcn.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

namespace {

constexpr vImage_Flags kKnownFlags = 0x1FFF;  // every flag bit the phone defines
constexpr int kAlphaIndex = 0;                // ARGB: alpha is the first byte

// Checks one buffer's shape; kvImageNoError when it can be read or written as width × height pixels.
vImage_Error checkBuffer(const vImage_Buffer& buffer) {
    if (!buffer.data) return kvImageNullPointerArgument;
    // libvips addresses pixels with int, so larger shapes are refused rather than wrapped.
    if (buffer.width == 0 || buffer.height == 0 || buffer.width > INT_MAX / 4 || buffer.height > INT_MAX)
        return kvImageInvalidParameter;
    if (buffer.rowBytes < buffer.width * 4) return kvImageInvalidRowBytes;
    return kvImageNoError;
}

// The bytes a buffer's pixels span, from the first pixel to the end of the last row's pixels.
std::pair<uintptr_t, uintptr_t> span(const vImage_Buffer& buffer) {
    auto first = reinterpret_cast<uintptr_t>(buffer.data);
    return {first, first + (buffer.height - 1) * buffer.rowBytes + buffer.width * 4};
}

bool overlap(const vImage_Buffer& a, const vImage_Buffer& b) {
    auto [a0, a1] = span(a);
    auto [b0, b1] = span(b);
    return a0 < b1 && b0 < a1;
}

void copyRows(const vImage_Buffer& from, const vImage_Buffer& to) {
    for (vImagePixelCount row = 0; row < from.height; ++row)
        std::memcpy(static_cast<uint8_t*>(to.data) + row * to.rowBytes,
                    static_cast<const uint8_t*>(from.data) + row * from.rowBytes, from.width * 4);
}

// libvips, opened the first time a picture is scaled: linked in, it and the sixty libraries it
// needs were three quarters of the start-up of every process, most of which never scale.
constexpr const char* kVipsLibrary = "libvips.so.42";  // the library's ABI name across its 8.x releases

// The libvips calls the scaler makes, looked up in the opened library.
struct Vips {
    int (*init)(const char* argv0);
    int (*version)(int flag);
    int (*cacheSetMax)(int max);
    VipsImage* (*imageNewFromMemory)(const void* data, size_t size, int width, int height, int bands, VipsBandFormat format);
    int (*resize)(VipsImage* in, VipsImage** out, double scale, ...);
    int (*embed)(VipsImage* in, VipsImage** out, int x, int y, int width, int height, ...);
    void* (*imageWriteToMemory)(VipsImage* in, size_t* size);
    void (*errorClear)();
};

template <class Function>
bool lookUp(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// Opens and starts libvips once per process; nothing when it cannot be opened or is another
// major version than the one built against. Its operation cache stays off: it recognises images
// by their memory, and callers reuse the same buffers for different pixels.
const Vips* vips() {
    static const Vips* opened = []() -> const Vips* {
        void* library = dlopen(kVipsLibrary, RTLD_NOW | RTLD_LOCAL);
        if (!library) return nullptr;
        static Vips calls;
        bool found = lookUp(library, "vips_init", calls.init) && lookUp(library, "vips_version", calls.version) &&
                     lookUp(library, "vips_cache_set_max", calls.cacheSetMax) &&
                     lookUp(library, "vips_image_new_from_memory", calls.imageNewFromMemory) &&
                     lookUp(library, "vips_resize", calls.resize) && lookUp(library, "vips_embed", calls.embed) &&
                     lookUp(library, "vips_image_write_to_memory", calls.imageWriteToMemory) &&
                     lookUp(library, "vips_error_clear", calls.errorClear);
        if (!found || calls.version(0) != VIPS_MAJOR_VERSION || calls.init("vImage") != 0) return nullptr;
        calls.cacheSetMax(0);
        return &calls;
    }();
    return opened;
}

// Images are GObjects, released through GObject itself.
struct VipsImageRelease {
    void operator()(VipsImage* image) const { g_object_unref(image); }
};
using VipsImagePtr = std::unique_ptr<VipsImage, VipsImageRelease>;

// The source pixels as a libvips image over the caller's memory (padded rows are cut off).
VipsImagePtr sourceImage(const Vips& vips, const vImage_Buffer& src, std::unique_ptr<uint8_t[]>& packed) {
    const void* pixels = src.data;
    if (src.rowBytes != src.width * 4) {
        packed = std::make_unique<uint8_t[]>(src.width * 4 * src.height);
        copyRows(src, {packed.get(), src.height, src.width, src.width * 4});
        pixels = packed.get();
    }
    return VipsImagePtr(vips.imageNewFromMemory(pixels, src.width * 4 * src.height, int(src.width), int(src.height), 4,
                                                   VIPS_FORMAT_UCHAR));
}

// Resamples to exactly the destination's size: the filter's rounding of the output size is
// corrected by repeating (or dropping) the last row or column.
VipsImagePtr resampled(const Vips& vips, VipsImage* in, const vImage_Buffer& dest, VipsKernel kernel) {
    VipsImage* out = nullptr;
    double hscale = double(dest.width) / in->Xsize, vscale = double(dest.height) / in->Ysize;
    if (vips.resize(in, &out, hscale, "vscale", vscale, "kernel", kernel, nullptr) != 0) return nullptr;
    VipsImagePtr scaled(out);
    if (scaled->Xsize == int(dest.width) && scaled->Ysize == int(dest.height)) return scaled;
    if (vips.embed(scaled.get(), &out, 0, 0, int(dest.width), int(dest.height), "extend", VIPS_EXTEND_COPY, nullptr) != 0)
        return nullptr;
    return VipsImagePtr(out);
}

// Copies the filtered pixels out. Filters overshoot next to sharp edges; a colour above its alpha
// is no premultiplied pixel at all, and compositing it would brighten what lies underneath.
void copyPremultiplied(const uint8_t* pixels, const vImage_Buffer& dest) {
    for (vImagePixelCount row = 0; row < dest.height; ++row) {
        const uint8_t* in = pixels + row * dest.width * 4;
        auto* out = static_cast<uint8_t*>(dest.data) + row * dest.rowBytes;
        for (vImagePixelCount i = 0; i < dest.width; ++i, in += 4, out += 4) {
            out[kAlphaIndex] = in[kAlphaIndex];
            for (int c = 1; c < 4; ++c) out[c] = std::min(in[c], in[kAlphaIndex]);
        }
    }
}

}  // namespace

vImage_Error vImageScale_ARGB8888(const vImage_Buffer* src, const vImage_Buffer* dest, void*, vImage_Flags flags) {
    if (flags & kvImageGetTempBufferSize) return 0;
    if (!src || !dest) return kvImageNullPointerArgument;
    if (vImage_Error error = checkBuffer(*src)) return error;
    if (vImage_Error error = checkBuffer(*dest)) return error;
    if (flags & ~kKnownFlags) return kvImageUnknownFlagsBit;
    if (overlap(*src, *dest)) return kvImageOutOfPlaceOperationRequired;

    if (src->width == dest->width && src->height == dest->height) {
        copyRows(*src, *dest);
        return kvImageNoError;
    }
    const Vips* library = vips();
    if (!library) return kvImageInternalError;
    // High quality is Lanczos; otherwise a tent filter.
    VipsKernel kernel = (flags & kvImageHighQualityResampling) ? VIPS_KERNEL_LANCZOS3 : VIPS_KERNEL_LINEAR;
    std::unique_ptr<uint8_t[]> packed;
    VipsImagePtr in = sourceImage(*library, *src, packed);
    VipsImagePtr out = in ? resampled(*library, in.get(), *dest, kernel) : nullptr;
    size_t size = 0;
    void* pixels = out ? library->imageWriteToMemory(out.get(), &size) : nullptr;
    if (!pixels) {
        library->errorClear();
        return kvImageMemoryAllocationError;
    }
    copyPremultiplied(static_cast<const uint8_t*>(pixels), *dest);
    g_free(pixels);
    return kvImageNoError;
}
