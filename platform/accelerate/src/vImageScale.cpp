// vImageScale_ARGB8888: argument checks with the phone's error codes, then resampling with stb_image_resize.
#include <Accelerate/Accelerate.h>

#include <stb_image_resize.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr vImage_Flags kKnownFlags = 0x1FFF;  // every flag bit the phone defines
constexpr int kAlphaIndex = 0;                // ARGB: alpha is the first byte

// Checks one buffer's shape; kvImageNoError when it can be read or written as width × height pixels.
vImage_Error checkBuffer(const vImage_Buffer& buffer) {
    if (!buffer.data) return kvImageNullPointerArgument;
    // stb addresses pixels and strides with int, so larger shapes are refused rather than wrapped.
    if (buffer.width == 0 || buffer.height == 0 || buffer.width > INT_MAX / 4 || buffer.height > INT_MAX)
        return kvImageInvalidParameter;
    if (buffer.rowBytes < buffer.width * 4) return kvImageInvalidRowBytes;
    if (buffer.rowBytes > size_t(INT_MAX)) return kvImageInvalidParameter;
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

// Cubic filters overshoot next to sharp edges; a colour above its alpha is no premultiplied pixel
// at all, and compositing it would brighten what lies underneath.
void keepPremultiplied(const vImage_Buffer& buffer) {
    for (vImagePixelCount row = 0; row < buffer.height; ++row) {
        auto* pixel = static_cast<uint8_t*>(buffer.data) + row * buffer.rowBytes;
        for (vImagePixelCount i = 0; i < buffer.width; ++i, pixel += 4)
            for (int c = 1; c < 4; ++c) pixel[c] = std::min(pixel[c], pixel[kAlphaIndex]);
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
        for (vImagePixelCount row = 0; row < src->height; ++row)
            std::memcpy(static_cast<uint8_t*>(dest->data) + row * dest->rowBytes,
                        static_cast<const uint8_t*>(src->data) + row * src->rowBytes, src->width * 4);
        return kvImageNoError;
    }
    // The default filter is Catmull-Rom when enlarging and Mitchell when reducing.
    stbir_filter filter = (flags & kvImageHighQualityResampling) ? STBIR_FILTER_DEFAULT : STBIR_FILTER_TRIANGLE;
    int ok = stbir_resize_uint8_generic(static_cast<const unsigned char*>(src->data), int(src->width), int(src->height),
                                        int(src->rowBytes), static_cast<unsigned char*>(dest->data), int(dest->width),
                                        int(dest->height), int(dest->rowBytes), 4, kAlphaIndex,
                                        STBIR_FLAG_ALPHA_PREMULTIPLIED, STBIR_EDGE_CLAMP, filter,
                                        STBIR_COLORSPACE_LINEAR, nullptr);
    if (!ok) return kvImageMemoryAllocationError;
    keepPremultiplied(*dest);
    return kvImageNoError;
}
