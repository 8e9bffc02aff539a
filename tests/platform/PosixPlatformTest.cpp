#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cstdlib>
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

unsigned ModeOf(const fs::path& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 0777 : 01000;
}

TEST(ProgramFolder, ComesFromVeilboxHomeOrTheDataFolderAndIsPrivate) {
  TempHome home;
  PosixPlatform platform;
  EXPECT_EQ(platform.ProgramFolder(), home.ProgramFolder().string());
  EXPECT_EQ(ModeOf(home.ProgramFolder()), 0700u);

  unsetenv("VEILBOX_HOME");
  const fs::path data = home.Root() / "data" / "veilbox";
  EXPECT_EQ(platform.ProgramFolder(), data.string());
  EXPECT_EQ(ModeOf(data), 0700u);
}

TEST(ListDirectory, ListsEveryEntryWithItsKindInNameOrder) {
  TempHome home;
  PosixPlatform platform;
  const fs::path f = home.MakeFolder("f");
  WriteText(f / "b.txt", "");
  WriteText(f / ".dot", "");
  fs::create_directories(f / "a");
  fs::create_directory_symlink(f / "a", f / "c");

  std::vector<DirEntry> entries = platform.ListDirectory(f.string());
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, ".dot");
  EXPECT_EQ(entries[1].name, "a");
  EXPECT_EQ(entries[1].kind, EntryKind::Directory);
  EXPECT_EQ(entries[2].kind, EntryKind::File);
  EXPECT_EQ(entries[3].kind, EntryKind::Link);
  EXPECT_TRUE(platform.FolderExists((f / "a").string()));
  EXPECT_FALSE(platform.FolderExists((f / "c").string())) << "a link to a folder is no folder";
  EXPECT_TRUE(platform.FileExists((f / "c").string()));
  EXPECT_THROW(platform.ListDirectory((f / "missing").string()), Failure);
}

TEST(WriteFileAtomic, ReplacesWholeOrLeavesTheOldFile) {
  TempHome home;
  PosixPlatform platform;
  const fs::path file = home.Root() / "Dat.sys";
  platform.WriteFileAtomic(file.string(), "first");
  platform.WriteFileAtomic(file.string(), "second");
  EXPECT_EQ(platform.ReadFile(file.string()), "second");

  // A folder in the way: the rename fails and nothing is left behind.
  const fs::path blocked = home.MakeFolder("blocked");
  WriteText(blocked / "keep", "keep");
  EXPECT_THROW(platform.WriteFileAtomic(blocked.string(), "x"), Failure);
  EXPECT_EQ(ReadText(blocked / "keep"), "keep");
  EXPECT_EQ(std::distance(fs::directory_iterator(home.Root()), fs::directory_iterator()), 2)
      << "Dat.sys and blocked, no temporary file";
}

TEST(LockFolder, ChangesTheNamedRealFolderOnlyNeverThroughALink) {
  TempHome home;
  PosixPlatform platform;
  const fs::path store = home.MakeFolder("Store");
  platform.LockFolder(store.string());
  EXPECT_EQ(ModeOf(store), 0u);
  platform.UnlockFolder(store.string());
  EXPECT_EQ(ModeOf(store), 0700u);

  EXPECT_NO_THROW(platform.LockFolder((home.Root() / "missing").string()));
  WriteText(home.Root() / "file", "");
  EXPECT_THROW(platform.LockFolder((home.Root() / "file").string()), Failure);

  const fs::path target = home.MakeFolder("target/Store");
  fs::permissions(target, fs::perms(0755));
  fs::create_directory_symlink(target, home.Root() / "link");
  fs::create_directory_symlink(target.parent_path(), home.Root() / "parent");
  for (const fs::path& p : {home.Root() / "link", home.Root() / "parent" / "Store"}) {
    EXPECT_THROW(platform.LockFolder(p.string()), Failure) << p;
    EXPECT_THROW(platform.UnlockFolder(p.string()), Failure) << p;
  }
  EXPECT_EQ(ModeOf(target), 0755u);
}

TEST(LockFolder, ItsOwnerUnlocksItWithoutPrivileges) {
  TempHome home;
  const fs::path store = home.MakeFolder("Store");
  fs::permissions(home.Root(), fs::perms(0711));
  constexpr uid_t kNobody = 65534;
  if (::geteuid() == 0 && ::chown(store.c_str(), kNobody, kNobody) != 0) {
    GTEST_SKIP() << "cannot give the folder to an unprivileged user";
  }
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(2);
    PosixPlatform platform;
    try {
      platform.LockFolder(store.string());
      if (ModeOf(store) != 0) ::_exit(3);
      platform.UnlockFolder(store.string());
    } catch (const Failure&) {
      ::_exit(4);
    }
    ::_exit(ModeOf(store) == 0700 ? 0 : 5);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(CreatePrivateFolder, LeavesAFolderAsItIsAndRefusesALinkOnThePath) {
  TempHome home;
  PosixPlatform platform;
  const fs::path store = home.Root() / "Store";
  platform.CreatePrivateFolder(store.string());
  EXPECT_NO_THROW(platform.CreatePrivateFolder(store.string()));
  fs::create_directory_symlink(store, home.Root() / "link");
  EXPECT_THROW(platform.CreatePrivateFolder((home.Root() / "link").string()), Failure);
  EXPECT_THROW(platform.CreatePrivateFolder((home.Root() / "link" / "temp").string()), Failure);
  EXPECT_TRUE(fs::is_empty(store));
}

}  // namespace
}  // namespace veilbox
