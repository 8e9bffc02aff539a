// Moves and renames on Windows: checked, never replacing, and across
// volumes a verified copy that never shows under the target's name before
// it is complete. Wine's drives all lie on one Linux file system, so the
// copy is reached by a platform whose renames fail as across volumes.
#include <gmock/gmock.h>
#include <windows.h>

#include "platform/win32/WinPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class OtherVolumePlatform : public WinPlatform {
 protected:
  DWORD MoveNoReplace(const std::wstring&, const std::wstring&) override {
    return ERROR_NOT_SAME_DEVICE;
  }
};

class MovesTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) { return (home.Root() / relative).string(); }
  std::vector<std::string> Names(const std::string& relative) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(home.Root() / relative)) {
      names.push_back(e.path().filename().string());
    }
    return names;
  }

  TempHome home;
  WinPlatform win;
};

TEST_F(MovesTest, MoveGoesIntoAnExistingFolderOrBecomesTheTarget) {
  WriteText(home.Root() / "work" / "Plans" / "a.txt", "a");
  home.MakeFolder("store");
  ASSERT_TRUE(win.MoveFolder(Path("work\\Plans"), Path("store")));
  EXPECT_EQ(ReadText(home.Root() / "store" / "Plans" / "a.txt"), "a");
  // Missing parents of a new target are made.
  ASSERT_TRUE(win.MoveFolder(Path("store\\Plans"), Path("back\\deep\\Plans2")));
  EXPECT_EQ(ReadText(home.Root() / "back" / "deep" / "Plans2" / "a.txt"), "a");
  MoveResult missing = win.MoveFolder(Path("nothing"), Path("store"));
  EXPECT_FALSE(missing);
  EXPECT_THAT(missing.reason, HasSubstr("does not exist"));
}

TEST_F(MovesTest, NeitherMoveNorRenameEverReplacesAnEntry) {
  WriteText(home.Root() / "work" / "Plans" / "a.txt", "mine");
  WriteText(home.Root() / "store" / "Plans" / "a.txt", "theirs");
  WriteText(home.Root() / "work" / "file.txt", "file");
  MoveResult r = win.MoveFolder(Path("work\\Plans"), Path("store"));
  EXPECT_FALSE(r);
  EXPECT_THAT(r.reason, HasSubstr("already exists"));
  EXPECT_EQ(ReadText(home.Root() / "store" / "Plans" / "a.txt"), "theirs");

  r = win.Rename(Path("work\\file.txt"), Path("work\\Plans\\a.txt"));
  EXPECT_FALSE(r);
  EXPECT_THAT(r.reason, HasSubstr("already exists"));
  EXPECT_FALSE(win.Rename(Path("work\\Plans"), Path("store\\Plans")));
  EXPECT_EQ(ReadText(home.Root() / "work" / "Plans" / "a.txt"), "mine");

  ASSERT_TRUE(win.Rename(Path("work\\file.txt"), Path("work\\4142.txt")));
  EXPECT_EQ(ReadText(home.Root() / "work" / "4142.txt"), "file");
  const std::string accented = home.Root().string() + "\\work\\Café.txt";
  ASSERT_TRUE(win.Rename(Path("work\\4142.txt"), accented));
  EXPECT_EQ(win.ReadFile(accented), "file");
  EXPECT_FALSE(win.Rename(Path("work\\gone"), Path("work\\other")));
}

TEST_F(MovesTest, AcrossVolumesTheCopyIsVerifiedAndAppearsOnlyWhole) {
  OtherVolumePlatform other;
  WriteText(home.Root() / "work" / "Plans" / "a.txt", "a");
  WriteText(home.Root() / "work" / "Plans" / "sub" / "b.bin", std::string("\0\xff", 2));
  home.MakeFolder("work\\Plans\\empty");
  home.MakeFolder("store");
  ASSERT_TRUE(other.MoveFolder(Path("work\\Plans"), Path("store")));
  EXPECT_FALSE(fs::exists(home.Root() / "work" / "Plans"));
  EXPECT_EQ(ReadText(home.Root() / "store" / "Plans" / "a.txt"), "a");
  EXPECT_EQ(ReadText(home.Root() / "store" / "Plans" / "sub" / "b.bin"), std::string("\0\xff", 2));
  EXPECT_TRUE(fs::is_directory(home.Root() / "store" / "Plans" / "empty"));
  EXPECT_EQ(Names("store"), std::vector<std::string>{"Plans"}) << "no partial copy left";

  // A file that cannot be read fails the copy; nothing is left of it and the
  // original stays.
  WriteText(home.Root() / "work" / "Locked" / "x.txt", "x");
  HANDLE held = CreateFileW((home.Root() / "work" / "Locked" / "x.txt").c_str(), GENERIC_READ, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  MoveResult r = other.MoveFolder(Path("work\\Locked"), Path("store"));
  CloseHandle(held);
  EXPECT_FALSE(r);
  EXPECT_THAT(r.reason, HasSubstr("copy failed"));
  EXPECT_EQ(Names("store"), std::vector<std::string>{"Plans"});
  EXPECT_EQ(ReadText(home.Root() / "work" / "Locked" / "x.txt"), "x");
}

}  // namespace
}  // namespace veilbox::testing
