// Moves and renames on Windows: through folders held open, never entering a
// reparse point, never replacing an entry.
#include <gmock/gmock.h>
#include <windows.h>

#include "diag/Failure.h"
#include "platform/win32/WinPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class MovesTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) { return (home.Root() / relative).string(); }
  std::unique_ptr<OpenFolder> Open(const std::string& relative) {
    OpenedFolder opened = win.OpenFolderNoLinks(Path(relative));
    EXPECT_TRUE(opened.folder) << opened.reason;
    return std::move(opened.folder);
  }

  TempHome home;
  WinPlatform win;
};

TEST_F(MovesTest, TheHeldFolderMovesAndItsFilesAreRenamedWhereverItWent) {
  WriteText(home.Root() / "work" / "Plans" / "sub" / "a.txt", "a");
  WriteText(home.Root() / "work" / "Plans" / "sub" / "b.txt", "b");
  home.MakeFolder("store\\Taken");
  auto work = Open("work");
  auto store = Open("store");
  const EntryId plans = work->OpenChild("Plans")->Id();

  EXPECT_THAT(work->MoveChild("Plans", *store, "Taken").reason, HasSubstr("already exists"));
  ASSERT_TRUE(work->MoveChild("Plans", *store, "Plans"));
  EXPECT_EQ(store->ChildId("Plans"), plans);
  EXPECT_FALSE(work->ChildId("Plans"));
  auto sub = store->OpenChild("Plans")->OpenChild("sub");
  EXPECT_FALSE(sub->RenameChild("a.txt", "b.txt"));
  ASSERT_TRUE(sub->RenameChild("a.txt", "Caf\xc3\xa9.txt"));
  EXPECT_EQ(win.ReadFile(home.Root().string() + "\\store\\Plans\\sub\\Caf\xc3\xa9.txt"), "a");
  EXPECT_EQ(ReadText(home.Root() / "store" / "Plans" / "sub" / "b.txt"), "b");

  WriteText(home.Root() / "p", "p");
  WriteText(home.Root() / "q", "q");
  EXPECT_THAT(win.Rename(Path("p"), Path("q")).reason, HasSubstr("already exists"));
  EXPECT_EQ(ReadText(home.Root() / "q"), "q");
}

TEST_F(MovesTest, AMissingPartOrAFileOnThePathIsRefusedAndSaysSo) {
  WriteText(home.Root() / "file", "x");
  OpenedFolder missing = win.OpenFolderNoLinks(Path("gone\\deeper"));
  EXPECT_FALSE(missing.folder);
  EXPECT_TRUE(missing.missing);
  OpenedFolder file = win.OpenFolderNoLinks(Path("file"));
  EXPECT_FALSE(file.folder);
  EXPECT_FALSE(file.missing);
  EXPECT_THROW(Open("")->OpenChild("file"), Failure);
}

// Wine cannot open a link itself, so there the link reads as missing: it is
// refused all the same.
TEST_F(MovesTest, ALinkOnThePathIsNeverEntered) {
  home.MakeFolder("real\\inner");
  if (!CreateSymbolicLinkW((home.Root() / "via").wstring().c_str(),
                           (home.Root() / "real").wstring().c_str(),
                           SYMBOLIC_LINK_FLAG_DIRECTORY)) {
    GTEST_SKIP() << "symbolic links cannot be made here (error " << GetLastError() << ")";
  }
  OpenedFolder through = win.OpenFolderNoLinks(Path("via\\inner"));
  EXPECT_FALSE(through.folder);
  EXPECT_THROW(Open("")->OpenChild("via"), Failure);
}

}  // namespace
}  // namespace veilbox::testing
