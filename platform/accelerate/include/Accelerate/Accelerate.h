// Accelerate's image processing: vImage buffers, flags, error codes and scaling of 8-bit ARGB pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

typedef unsigned long vImagePixelCount;
// Negative codes are failures; a call with kvImageGetTempBufferSize answers a byte count instead.
typedef ssize_t vImage_Error;
typedef uint32_t vImage_Flags;

// A block of pixels the caller owns: `height` rows of `width` pixels, each row `rowBytes` bytes
// after the previous one (rows may be padded).
struct vImage_Buffer {
    void* data;
    vImagePixelCount height;
    vImagePixelCount width;
    size_t rowBytes;
};

// Error codes, with the phone's values.
enum : vImage_Error {
    kvImageNoError = 0,
    kvImageRoiLargerThanInputBuffer = -21766,
    kvImageInvalidKernelSize = -21767,
    kvImageInvalidEdgeStyle = -21768,
    kvImageInvalidOffset_X = -21769,
    kvImageInvalidOffset_Y = -21770,
    kvImageMemoryAllocationError = -21771,
    kvImageNullPointerArgument = -21772,
    kvImageInvalidParameter = -21773,
    kvImageBufferSizeMismatch = -21774,
    kvImageUnknownFlagsBit = -21775,
    kvImageInternalError = -21776,
    kvImageInvalidRowBytes = -21777,
    kvImageInvalidImageFormat = -21778,
    kvImageColorSyncIsAbsent = -21779,
    kvImageOutOfPlaceOperationRequired = -21780,
    kvImageInvalidImageObject = -21781,
    kvImageInvalidCVImageFormat = -21782,
    kvImageUnsupportedConversion = -21783,
    kvImageCoreVideoIsAbsent = -21784,
};

// Flags, with the phone's values.
enum : vImage_Flags {
    kvImageNoFlags = 0,
    kvImageLeaveAlphaUnchanged = 1,
    kvImageCopyInPlace = 2,
    kvImageBackgroundColorFill = 4,
    kvImageEdgeExtend = 8,
    kvImageDoNotTile = 16,
    kvImageHighQualityResampling = 32,
    kvImageTruncateKernel = 64,
    kvImageGetTempBufferSize = 128,
    kvImagePrintDiagnosticsToConsole = 256,
    kvImageNoAllocate = 512,
    kvImageHDRContent = 1024,
    kvImageDoNotClamp = 2048,
    kvImageUseFP16Accumulator = 4096,
};

// Resamples `src` into the whole of `dest`, 4 bytes per pixel in the order alpha, red, green,
// blue with colours premultiplied by alpha (any channel order with alpha first works alike).
// Filtering is cubic with kvImageHighQualityResampling (interpolating when enlarging, smoothing
// when reducing) and linear without; edges repeat the outermost pixels. Results stay valid
// premultiplied pixels (no colour above its alpha). `tempBuffer` may be NULL; it is not used.
// Bytes of `dest` outside its rows' pixels (row padding) are left alone.
//
// Returns kvImageNoError, or without touching `dest`:
//   kvImageNullPointerArgument  src or dest NULL, or either's data NULL;
//   kvImageInvalidParameter     a width or height of 0 or beyond what can be addressed;
//   kvImageInvalidRowBytes      rowBytes shorter than width × 4;
//   kvImageUnknownFlagsBit      a flag bit that has no meaning;
//   kvImageOutOfPlaceOperationRequired  src and dest memory overlap;
//   kvImageMemoryAllocationError        the resampler's working memory could not be had.
// With kvImageGetTempBufferSize it checks nothing, does nothing and answers 0 (no temporary
// buffer is needed).
vImage_Error vImageScale_ARGB8888(const vImage_Buffer* src, const vImage_Buffer* dest, void* tempBuffer,
                                  vImage_Flags flags);
