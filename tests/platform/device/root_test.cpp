// Device paths resolve inside the device root; every way out of it is refused.
#include "temporary_device.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(DeviceRoot, DevicePathsLandInsideTheRoot) {
    TemporaryDevice device;
    device.write("/var/mobile/Library/Preferences/a.plist", "x");
    auto real = fs::canonical(device.folder());
    EXPECT_EQ(device::resolve("/var/mobile/Library/Preferences/a.plist"), real / "var/mobile/Library/Preferences/a.plist");
    EXPECT_EQ(device::resolve("//var/./mobile/"), real / "var/mobile");
    EXPECT_EQ(device::resolve("/"), real);
    // A file that does not exist yet still has a place, so that it can be created.
    EXPECT_EQ(device::resolve("/var/mobile/new/file"), real / "var/mobile/new/file");
}

TEST(DeviceRoot, EscapesAndNonDevicePathsAreRefused) {
    TemporaryDevice device;
    device.write("/var/mobile/a", "x");
    EXPECT_FALSE(device::resolve("/var/mobile/../../etc/passwd"));
    EXPECT_FALSE(device::resolve("/var/mobile/../mobile/a"));
    EXPECT_FALSE(device::resolve("/.."));
    EXPECT_FALSE(device::resolve("var/mobile/a"));
    EXPECT_FALSE(device::resolve(""));
    EXPECT_FALSE(device::resolve(std::string_view("/var/mobile/a\0b", 15)));
}

TEST(DeviceRoot, SymbolicLinksOutOfTheRootAreRefusedAnywhereOnThePath) {
    TemporaryDevice device;
    TemporaryDevice outside;  // a second folder, the real world as far as the first is concerned
    outside.write("/secret", "x");
    device::setRoot(device.folder());
    fs::create_directories(device.host("/var/mobile"));
    fs::create_symlink(outside.folder(), device.host("/var/mobile/escape"));
    fs::create_symlink("../../..", device.host("/var/mobile/up"));
    fs::create_symlink(outside.host("/secret"), device.host("/var/mobile/file"));

    EXPECT_FALSE(device::resolve("/var/mobile/escape/secret"));
    EXPECT_FALSE(device::resolve("/var/mobile/escape"));
    EXPECT_FALSE(device::resolve("/var/mobile/up/etc"));
    EXPECT_FALSE(device::resolve("/var/mobile/file"));
    // Keeping the last link unresolved names the link itself, which is inside the root.
    EXPECT_EQ(device::resolve("/var/mobile/file", device::LastLink::keep), fs::canonical(device.folder()) / "var/mobile/file");
}

TEST(DeviceRoot, SymbolicLinksInsideTheRootAreFollowed) {
    TemporaryDevice device;
    device.write("/Library/real/file", "x");
    auto real = fs::canonical(device.folder());
    fs::create_directories(device.host("/var"));
    fs::create_symlink("../Library/real", device.host("/var/relative"));
    fs::create_symlink(device.host("/Library/real"), device.host("/var/absolute"));
    EXPECT_EQ(device::resolve("/var/relative/file"), real / "Library/real/file");
    EXPECT_EQ(device::resolve("/var/absolute/file"), real / "Library/real/file");

    fs::create_symlink("loop", device.host("/var/loop"));
    EXPECT_FALSE(device::resolve("/var/loop"));
}

TEST(DeviceRoot, NoRootRefusesEverything) {
    TemporaryDevice device;
    device::setRoot("");
    EXPECT_TRUE(device::root().empty());
    EXPECT_FALSE(device::resolve("/var/mobile"));
    device::setRoot(device.folder() / "missing");
    EXPECT_FALSE(device::resolve("/var/mobile"));
}

}  // namespace
