#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

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

TEST(LockFolder, TakesAllAccessAwayAndUnlockGivesItToTheOwner) {
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
}

}  // namespace
}  // namespace veilbox
