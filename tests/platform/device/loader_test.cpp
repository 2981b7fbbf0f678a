// Libraries are loaded from the device root; a refused or missing path fails with a readable dlerror.
#include "temporary_device.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceLoader, OpensLibrariesFromTheDevice) {
    TemporaryDevice device;
    std::filesystem::create_directories(device.host("/usr/lib"));
    std::filesystem::copy_file(DEVICE_TEST_PLUGIN, device.host("/usr/lib/libplugin.dylib"));

    void* handle = device::dlopen("/usr/lib/libplugin.dylib", RTLD_NOW);
    ASSERT_NE(handle, nullptr) << device::dlerror();
    auto answer = reinterpret_cast<int (*)()>(device::dlsym(handle, "devicePluginAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(device::dlsym(handle, "noSuchFunction"), nullptr);
    EXPECT_NE(device::dlerror(), nullptr);
}

TEST(DeviceLoader, MissingAndEscapingPathsFailWithAnError) {
    TemporaryDevice device;
    EXPECT_EQ(device::dlopen("/usr/lib/libinspectivec.dylib", RTLD_NOW), nullptr);
    const char* error = device::dlerror();
    ASSERT_NE(error, nullptr);
    EXPECT_NE(std::string(error).find("/usr/lib/libinspectivec.dylib"), std::string::npos);
    EXPECT_EQ(device::dlerror(), nullptr);  // reported once, as the C call does

    // The host's own copy is not on the device.
    EXPECT_EQ(device::dlopen(DEVICE_TEST_PLUGIN, RTLD_NOW), nullptr);
    EXPECT_EQ(device::dlopen("/usr/../../lib/libc.so.6", RTLD_NOW), nullptr);
    ASSERT_NE(device::dlerror(), nullptr);
}

}  // namespace
