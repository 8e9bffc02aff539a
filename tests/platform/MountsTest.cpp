#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "platform/posix/Mounts.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

TEST(Mounts, ParsesMountPointsWithEscapedBlanks) {
  const std::string info =
      "22 1 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n"
      "40 22 0:35 / /media/usb\\040stick rw - vfat /dev/sdb1 rw\n"
      "41 22 0:36 / /home rw - ext4 /dev/sda2 rw\n";
  EXPECT_EQ(ParseMountPoints(info),
            (std::vector<std::string>{"/", "/media/usb stick", "/home"}));
}

TEST(Mounts, TheLongestContainingMountPointIsTheDrive) {
  const std::vector<std::string> mounts = {"/", "/home", "/home/me/usb", "/ho"};
  EXPECT_EQ(MountPointOf("/home/me/Work", mounts), "/home/");
  EXPECT_EQ(MountPointOf("/home/me/usb", mounts), "/home/me/usb/");
  EXPECT_EQ(MountPointOf("/home/me/usb2/x", mounts), "/home/");  // a name prefix is no parent
  EXPECT_EQ(MountPointOf("/house", mounts), "/");
  EXPECT_EQ(MountPointOf("/", mounts), "/");
}

TEST(Mounts, AFolderAndItsFutureChildrenShareADrive) {
  testing::TempHome home;
  auto platform = CreatePlatform();
  const std::string folder = home.MakeFolder("a").string();
  const std::string key = platform->DriveKey(folder);
  EXPECT_EQ(key.back(), '/');
  EXPECT_EQ(platform->DriveKey(folder + "/not/yet/there"), key);
  EXPECT_EQ(platform->DriveKey("/proc/self"), "/proc/");
}

}  // namespace
}  // namespace veilbox
