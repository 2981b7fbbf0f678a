// Data providers over borrowed or copied bytes.
#include "CGObjects.h"

CGDataProvider::~CGDataProvider() {
    if (releaseData) releaseData(info, data, size);
}

CGDataProviderRef CGDataProviderCreateWithData(void* info, const void* data, size_t size,
                                               CGDataProviderReleaseDataCallback releaseData) {
    auto* provider = new CGDataProvider;
    provider->info = info;
    provider->data = data;
    provider->size = data ? size : 0;
    provider->releaseData = releaseData;
    return provider;
}

CGDataProviderRef CGDataProviderCreateWithCopyOfData(const void* data, size_t size) {
    auto* provider = new CGDataProvider;
    if (data) provider->copy.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    provider->data = provider->copy.data();
    provider->size = provider->copy.size();
    return provider;
}

CGDataProviderRef CGDataProviderRetain(CGDataProviderRef provider) { return cg::retain(provider); }

void CGDataProviderRelease(CGDataProviderRef provider) { cg::release(provider); }

const void* CGDataProviderGetBytePointer(CGDataProviderRef provider) { return provider ? provider->data : nullptr; }

size_t CGDataProviderGetSize(CGDataProviderRef provider) { return provider ? provider->size : 0; }
