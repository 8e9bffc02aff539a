#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

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
  EXPECT_EQ(ParseMountPoints(info), (std::vector<std::string>{"/", "/media/usb stick", "/home"}));
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

// One running copy sees a drive mounted or taken away while it runs, also
// through a link to it.
TEST(Mounts, ADriveMountedOrTakenAwayIsSeenAtOnce) {
  testing::TempHome home;
  const std::string usb = home.MakeFolder("usb").string();
  std::filesystem::create_directory_symlink(usb, home.Root() / "link");
  const std::string link = (home.Root() / "link" / "Plans").string();
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      _exit(77);
    }
    auto platform = CreatePlatform();
    const std::string before = platform->DriveKey(link);
    if (::mount("tmpfs", usb.c_str(), "tmpfs", 0, "size=1m") != 0) _exit(77);
    const std::string mounted = platform->DriveKey(link);
    const bool unmounted = ::umount(usb.c_str()) == 0;
    _exit(mounted == usb + "/" && unmounted && platform->DriveKey(link) == before ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot mount a tmpfs here; skipped";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace veilbox
