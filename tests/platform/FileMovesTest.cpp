#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/posix/PosixPlatform.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TempHome;
using testing::WriteText;

// Renames fail as they do between two file systems.
class CrossDevicePlatform : public PosixPlatform {
 protected:
  int RenameNoReplace(const std::string&, const std::string&) override { return EXDEV; }
};

void MakeTree(const fs::path& root) {
  WriteText(root / "a.txt", "alpha");
  WriteText(root / ".hidden", "dot");
  WriteText(root / "sub" / "deep" / "b.bin", std::string("\0\1\2", 3));
  fs::create_directories(root / "empty");
  fs::create_symlink("/etc/hostname", root / "link");
}

void ExpectTree(const fs::path& root) {
  EXPECT_EQ(ReadText(root / "a.txt"), "alpha");
  EXPECT_EQ(ReadText(root / ".hidden"), "dot");
  EXPECT_EQ(ReadText(root / "sub" / "deep" / "b.bin"), std::string("\0\1\2", 3));
  EXPECT_TRUE(fs::is_directory(root / "empty"));
  ASSERT_TRUE(fs::is_symlink(root / "link"));
  EXPECT_EQ(fs::read_symlink(root / "link"), "/etc/hostname");
}

TEST(MoveFolder, GoesInsideAnExistingFolderOrBecomesANewPath) {
  TempHome home;
  PosixPlatform platform;
  const fs::path plans = home.MakeFolder("Work/Plans");
  MakeTree(plans);
  const fs::path store = home.MakeFolder("Store");

  ASSERT_TRUE(platform.MoveFolder(plans.string(), store.string()));
  EXPECT_FALSE(fs::exists(plans));
  ExpectTree(store / "Plans");

  const fs::path renamed = home.Root() / "new" / "parents" / "Plans2";
  ASSERT_TRUE(platform.MoveFolder((store / "Plans").string(), renamed.string()));
  ExpectTree(renamed);
}

TEST(MoveFolder, NeverReplacesWhatIsThere) {
  TempHome home;
  PosixPlatform platform;
  const fs::path plans = home.MakeFolder("Plans");
  WriteText(plans / "mine.txt", "mine");
  const fs::path store = home.MakeFolder("Store");
  WriteText(store / "Plans" / "theirs.txt", "theirs");

  MoveResult r = platform.MoveFolder(plans.string(), store.string());
  EXPECT_FALSE(r);
  EXPECT_NE(r.reason.find("already exists"), std::string::npos);
  EXPECT_EQ(ReadText(plans / "mine.txt"), "mine");
  EXPECT_EQ(ReadText(store / "Plans" / "theirs.txt"), "theirs");
  EXPECT_FALSE(fs::exists(store / "Plans" / "mine.txt"));

  EXPECT_FALSE(platform.MoveFolder((home.Root() / "missing").string(), store.string()));
}

TEST(Rename, RefusesToReplaceAFileOrAnEmptyFolder) {
  TempHome home;
  PosixPlatform platform;
  WriteText(home.Root() / "a", "a");
  WriteText(home.Root() / "b", "b");
  fs::create_directories(home.Root() / "d1");
  fs::create_directories(home.Root() / "d2");

  EXPECT_FALSE(platform.Rename((home.Root() / "a").string(), (home.Root() / "b").string()));
  EXPECT_EQ(ReadText(home.Root() / "b"), "b");
  EXPECT_FALSE(platform.Rename((home.Root() / "d1").string(), (home.Root() / "d2").string()));
  EXPECT_TRUE(fs::exists(home.Root() / "d1"));

  ASSERT_TRUE(platform.Rename((home.Root() / "a").string(), (home.Root() / "c").string()));
  EXPECT_EQ(ReadText(home.Root() / "c"), "a");
}

TEST(MoveFolder, AcrossFileSystemsCopiesVerifiesThenRemovesTheOriginal) {
  TempHome home;
  CrossDevicePlatform platform;
  const fs::path plans = home.MakeFolder("Plans");
  MakeTree(plans);
  const fs::path store = home.MakeFolder("Store");

  ASSERT_TRUE(platform.MoveFolder(plans.string(), store.string()));
  EXPECT_FALSE(fs::exists(plans));
  ExpectTree(store / "Plans");
}

TEST(MoveFolder, AFailedCopyLeavesTheOriginalAndNoPartialCopy) {
  TempHome home;
  CrossDevicePlatform platform;
  const fs::path plans = home.MakeFolder("Plans");
  WriteText(plans / "a.txt", "alpha");
  ASSERT_EQ(::mkfifo((plans / "pipe").c_str(), 0600), 0);
  const fs::path store = home.MakeFolder("Store");

  MoveResult r = platform.MoveFolder(plans.string(), store.string());
  EXPECT_FALSE(r);
  EXPECT_FALSE(r.reason.empty());
  EXPECT_EQ(ReadText(plans / "a.txt"), "alpha");
  EXPECT_FALSE(fs::exists(store / "Plans"));
}

// A real second file system: a tmpfs mounted in a private mount namespace.
TEST(MoveFolder, MovesOntoARealSecondFileSystem) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a tmpfs; skipped";
  TempHome home;
  const fs::path plans = home.MakeFolder("Plans");
  MakeTree(plans);
  const fs::path mount_point = home.MakeFolder("usb");

  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=16m") != 0) {
      _exit(77);
    }
    PosixPlatform platform;
    bool separate = platform.DriveKey(mount_point.string()) != platform.DriveKey(plans.string());
    bool moved = static_cast<bool>(platform.MoveFolder(plans.string(), mount_point.string()));
    bool arrived = ReadText(mount_point / "Plans" / "sub" / "deep" / "b.bin") ==
                   std::string("\0\1\2", 3);
    _exit(separate && moved && arrived && !fs::exists(plans) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot mount a tmpfs here; skipped";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace veilbox
