// Device programs are spawned from the device root and inherit the device.
#include "temporary_device.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <sstream>

namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DeviceSpawn, RunsTheDeviceProgramWithTheDeviceRoot) {
    TemporaryDevice device;
    device.write("/usr/bin/killall", "#!/bin/sh\necho \"$OBSCURO_DEVICE_ROOT $*\" > \"$OBSCURO_DEVICE_ROOT/spawned\"\n");
    std::filesystem::permissions(device.host("/usr/bin/killall"), std::filesystem::perms::owner_all);

    const char* args[] = {"killall", "-9", "backboardd", nullptr};
    pid_t pid = 0;
    ASSERT_EQ(device::posix_spawn(&pid, "/usr/bin/killall", nullptr, nullptr, const_cast<char* const*>(args), nullptr), 0);
    int status = -1;
    ASSERT_EQ(device::waitpid(pid, &status, 4), pid);  // the phone's WEXITED
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(contents(device.host("/spawned")), device.folder().string() + " -9 backboardd\n");
}

TEST(DeviceSpawn, ProgramsOutsideTheDeviceAreNotFound) {
    TemporaryDevice device;
    pid_t pid = 0;
    const char* args[] = {"sh", nullptr};
    EXPECT_EQ(device::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(args), nullptr), ENOENT);
    EXPECT_EQ(device::posix_spawn(&pid, "../bin/sh", nullptr, nullptr, const_cast<char* const*>(args), nullptr), ENOENT);
}

}  // namespace
