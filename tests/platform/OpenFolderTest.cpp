// Folders opened without following links: a link anywhere on a path is
// refused, the handle follows its folder, and moves and renames never
// replace anything or leave the file system.
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>

#include "diag/Failure.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TempHome;
using testing::WriteText;

TEST(OpenFolder, ALinkAnywhereOnThePathIsRefusedAndAMissingPartSaysSo) {
  TempHome home;
  PosixPlatform platform;
  const fs::path real = home.MakeFolder("real/inner");
  fs::create_directory_symlink(home.Root() / "real", home.Root() / "via");
  fs::create_directory_symlink(real, home.Root() / "real" / "last");
  WriteText(home.Root() / "file", "x");
  struct Case {
    fs::path path;
    bool opens, missing;
  } cases[] = {
      {real, true, false},
      {home.Root() / "via" / "inner", false, false},
      {home.Root() / "real" / "last", false, false},
      {home.Root() / "file", false, false},
      {home.Root() / "gone" / "inner", false, true},
  };
  for (const Case& c : cases) {
    OpenedFolder opened = platform.OpenFolderNoLinks(c.path.string());
    EXPECT_EQ(opened.folder != nullptr, c.opens) << c.path;
    EXPECT_EQ(opened.missing, c.missing) << c.path;
    if (!c.opens) {
      EXPECT_NE(opened.reason.find(c.path.string()), std::string::npos);
    }
  }
  auto parent = platform.OpenFolderNoLinks((home.Root() / "real").string()).folder;
  EXPECT_THROW(parent->OpenChild("last"), Failure);
  EXPECT_NE(parent->ChildId("last"), parent->OpenChild("inner")->Id());
  EXPECT_FALSE(parent->ChildId("nothing"));
}

TEST(OpenFolder, TheHandleFollowsItsFolderAndMovesNeverReplace) {
  TempHome home;
  PosixPlatform platform;
  home.MakeFolder("work/Plans/sub");
  WriteText(home.Root() / "work" / "Plans" / "sub" / "a.txt", "alpha");
  WriteText(home.Root() / "work" / "Plans" / "sub" / "b.txt", "beta");
  home.MakeFolder("store/Taken");
  auto work = platform.OpenFolderNoLinks((home.Root() / "work").string()).folder;
  auto store = platform.OpenFolderNoLinks((home.Root() / "store").string()).folder;
  auto plans = work->OpenChild("Plans");

  EXPECT_FALSE(work->MoveChild("Plans", *store, "Taken"));
  ASSERT_TRUE(work->MoveChild("Plans", *store, "Plans"));
  EXPECT_EQ(store->ChildId("Plans"), plans->Id());
  // A new folder of the old name does not catch the work meant for the moved one.
  home.MakeFolder("work/Plans/sub");
  auto sub = plans->OpenChild("sub");
  EXPECT_FALSE(sub->RenameChild("a.txt", "b.txt"));
  ASSERT_TRUE(sub->RenameChild("a.txt", "c.txt"));
  EXPECT_EQ(ReadText(home.Root() / "store" / "Plans" / "sub" / "c.txt"), "alpha");
  EXPECT_EQ(ReadText(home.Root() / "store" / "Plans" / "sub" / "b.txt"), "beta");
  EXPECT_TRUE(fs::is_empty(home.Root() / "work" / "Plans" / "sub"));

  WriteText(home.Root() / "p", "p");
  WriteText(home.Root() / "q", "q");
  EXPECT_FALSE(platform.Rename((home.Root() / "p").string(), (home.Root() / "q").string()));
  EXPECT_EQ(ReadText(home.Root() / "q"), "q");
}

// A real second file system: a tmpfs mounted in a private mount namespace.
TEST(OpenFolder, AMoveOntoAnotherFileSystemIsRefusedAndLeavesTheFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a tmpfs; skipped";
  TempHome home;
  WriteText(home.MakeFolder("Plans") / "a.txt", "alpha");
  const fs::path mount_point = home.MakeFolder("usb");

  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=16m") != 0) {
      _exit(77);
    }
    PosixPlatform platform;
    auto root = platform.OpenFolderNoLinks(home.Root().string()).folder;
    auto usb = platform.OpenFolderNoLinks(mount_point.string()).folder;
    MoveResult moved = root->MoveChild("Plans", *usb, "Plans");
    _exit(!moved && moved.reason.find("another file system") != std::string::npos &&
                  ReadText(home.Root() / "Plans" / "a.txt") == "alpha"
              ? 0
              : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot mount a tmpfs here; skipped";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace veilbox
