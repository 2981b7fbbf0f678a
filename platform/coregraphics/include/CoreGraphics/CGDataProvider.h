// Data providers: the bytes an image is created from.
#pragma once

#include <CoreGraphics/CGBase.h>

typedef void (*CGDataProviderReleaseDataCallback)(void* info, const void* data, size_t size);

// Borrows `data` until the provider is destroyed, then calls `releaseData` (may be NULL).
CGDataProviderRef CGDataProviderCreateWithData(void* info, const void* data, size_t size,
                                               CGDataProviderReleaseDataCallback releaseData);
// Copies `size` bytes.
CGDataProviderRef CGDataProviderCreateWithCopyOfData(const void* data, size_t size);

CGDataProviderRef CGDataProviderRetain(CGDataProviderRef provider);
void CGDataProviderRelease(CGDataProviderRef provider);

// Borrowed view of the provider's bytes (stands in for CGDataProviderCopyData).
const void* CGDataProviderGetBytePointer(CGDataProviderRef provider);
size_t CGDataProviderGetSize(CGDataProviderRef provider);
