// The Windows platform's files, listings, entry kinds, long paths, drive
// keys, program folder and data lock, on the real file system (Wine's drive
// C: under test).
#include <gmock/gmock.h>
#include <windows.h>
// clang-format off: after windows.h
#include <aclapi.h>
// clang-format on

#include <thread>

#include "app/FolderData.h"
#include "diag/Failure.h"
#include "platform/Codec.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/WinFiles.h"
#include "platform/win32/WinPlatform.h"
#include "store/GetDirs.h"
#include "support/StateTest.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

class WinFilesTest : public StateTest {
 protected:
  std::string Folder(const std::string& relative) { return home.MakeFolder(relative).string(); }
  WinPlatform win;
};

TEST_F(WinFilesTest, TextIsStoredInTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of code page 1252";
  EXPECT_EQ(ToAnsi("Café"), "Caf\xE9");
  EXPECT_EQ(FromAnsi("Caf\xE9"), "Café");
  EXPECT_EQ(ToAnsi("€"), "\x80");
  EXPECT_EQ(ToAnsi("日"), "?") << "a character the code page lacks";
  EXPECT_EQ(ToAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));

  session.data_file = win.ProgramFolder() + "\\Dat.sys";
  session.folders = FolderList::Parse("Café<C:\\Work\\<Hidden<Encrypted<Café<*");
  ASSERT_TRUE(SaveFolders(session));
  EXPECT_EQ(ReadText(session.data_file), "Caf\xE9<C:\\Work\\<Hidden<Encrypted<Caf\xE9<*\r\n");
  session.folders = {};
  ASSERT_TRUE(session.ReadList());
  EXPECT_EQ(session.folders.Text(), "Café<C:\\Work\\<Hidden<Encrypted<Café<*\r\n");
}

TEST_F(WinFilesTest, AtomicWritesReplaceWholeOrLeaveTheOldFile) {
  const std::string file = Folder("data") + "\\Dat.sys";
  win.WriteFileAtomic(file, "a much longer first content");
  win.WriteFileAtomic(file, "second");
  EXPECT_EQ(win.ReadFile(file), "second");
  // A folder in the way of the new file: the write fails and nothing is left.
  const std::string blocked = Folder("data\\blocked");
  WriteText(fs::path(blocked) / "inside", "x");
  EXPECT_THROW(win.WriteFileAtomic(blocked, "new"), Failure);
  EXPECT_THROW(win.WriteFileAtomic(Folder("data") + "\\missing\\f", "new"), Failure);
  std::vector<std::string> names;
  for (const DirEntry& e : win.ListDirectory(Folder("data"))) names.push_back(e.name);
  EXPECT_THAT(names, ElementsAre("Dat.sys", "blocked"));
  EXPECT_EQ(win.ReadFile(file), "second");
  try {
    win.ReadFile(file + ".none");
    ADD_FAILURE();
  } catch (const Failure& f) {
    EXPECT_EQ(f.Number(), err::kFileNotFound);
  }
}

TEST_F(WinFilesTest, ListingsMarkHiddenAndSystemEntriesWhichGetDirsLeavesOut) {
  const std::string folder = Folder("list");
  for (const char* name : {"b", "a", "hidden", "system"}) Folder(std::string("list\\") + name);
  WriteText(fs::path(folder) / "c.txt", "");
  SetFileAttributesW((fs::path(folder) / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW((fs::path(folder) / "system").c_str(), FILE_ATTRIBUTE_SYSTEM);

  std::vector<std::string> all;
  for (const DirEntry& e : win.ListDirectory(folder + "\\")) {
    all.push_back(e.name + (e.kind == EntryKind::Directory ? "/" : "") + (e.hidden ? " h" : ""));
  }
  EXPECT_THAT(all, ElementsAre("a/", "b/", "c.txt", "hidden/ h", "system/ h"));
  EXPECT_EQ(GetDirs(win, folder + "\\", kDirectoryAttribute), "a,b,");
  EXPECT_EQ(GetDirs(win, folder + "\\", 0), "a,b,c.txt,");
  EXPECT_THROW(win.ListDirectory(folder + "\\none"), Failure);
}

// Wine makes no reparse points, so the kinds are told from the tags.
TEST(EntryKinds, OnlyReparsePointsThatStandForAnotherNameAreLinks) {
  constexpr DWORD kReparse = FILE_ATTRIBUTE_REPARSE_POINT, kFolder = FILE_ATTRIBUTE_DIRECTORY;
  const struct {
    DWORD attributes;
    DWORD tag;
    EntryKind kind;
  } cases[] = {
      {kReparse | kFolder, IO_REPARSE_TAG_SYMLINK, EntryKind::Link},
      {kReparse, IO_REPARSE_TAG_SYMLINK, EntryKind::Link},
      {kReparse | kFolder, IO_REPARSE_TAG_MOUNT_POINT, EntryKind::Link},   // junction, mount point
      {kReparse | kFolder, IO_REPARSE_TAG_CLOUD_6, EntryKind::Directory},  // OneDrive on demand
      {kReparse, IO_REPARSE_TAG_ONEDRIVE, EntryKind::File},
      {kReparse, IO_REPARSE_TAG_DEDUP, EntryKind::File},
      {kReparse, IO_REPARSE_TAG_WOF, EntryKind::File},
      {kFolder, IO_REPARSE_TAG_SYMLINK, EntryKind::Directory},  // no reparse point: no tag
  };
  for (const auto& c : cases) {
    EXPECT_EQ(win32::KindOf(c.attributes, c.tag), c.kind) << std::hex << c.tag;
  }
}

TEST(LongPaths, PathsGoToTheSystemWholeAndInTheirLongForm) {
  const struct {
    const wchar_t *given, *system, *user;
  } cases[] = {
      {L"C:\\Work\\Plans", L"\\\\?\\C:\\Work\\Plans", L"C:\\Work\\Plans"},
      {L"C:/Work/./Old/../Plans", L"\\\\?\\C:\\Work\\Plans", L"C:\\Work\\Plans"},
      {L"C:\\", L"\\\\?\\C:\\", L"C:\\"},
      {L"\\\\server\\share\\Plans", L"\\\\?\\UNC\\server\\share\\Plans",
       L"\\\\server\\share\\Plans"},
      {L"\\\\?\\C:\\Work\\..", L"\\\\?\\C:\\Work\\..", L"C:\\Work\\.."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(win32::SystemPath(c.given), c.system);
    EXPECT_EQ(win32::UserPath(c.system), c.user);
  }
}

TEST_F(WinFilesTest, DrivesAreTheFirstThreeCharactersAndTheProgramFolderIsVeilboxHome) {
  EXPECT_EQ(win.DriveKey("D:\\Work\\Plans"), "D:\\");
  EXPECT_EQ(win.DriveKey("c:\\x"), "c:\\");
  EXPECT_EQ(win.DriveKey("\\\\server\\share"), "\\\\s");
  EXPECT_EQ(win.DriveKey("é:\\x"), "é:\\");
  EXPECT_EQ(win.Separator(), '\\');

  EXPECT_EQ(win.ProgramFolder(), home.ProgramFolder().string());
  EXPECT_TRUE(win.FolderExists(home.ProgramFolder().string())) << "created on first use";
  SetEnvironment("VEILBOX_HOME", home.ProgramFolder().string() + "\\sub\\");
  EXPECT_EQ(win.ProgramFolder(), home.ProgramFolder().string() + "\\sub");
  // Without VEILBOX_HOME: the folder of the executable.
  SetEnvironment("VEILBOX_HOME", std::nullopt);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(win.ProgramFolder(), fs::path(self).parent_path().string());

  const std::string file = Folder("kinds") + "\\f";
  WriteText(file, "x");
  EXPECT_TRUE(win.FileExists(file));
  EXPECT_FALSE(win.FolderExists(file));
  EXPECT_FALSE(win.FileExists(""));
  win.CreateFolders(Folder("kinds") + "\\a\\b\\c");
  EXPECT_TRUE(win.FolderExists(Folder("kinds") + "\\a\\b\\c"));
  EXPECT_THROW(win.CreateFolders(file + "\\below"), Failure);
  win.RemoveFile(file);
  EXPECT_FALSE(win.FileExists(file));
  EXPECT_THROW(win.RemoveFile(file), Failure);
}

TEST_F(WinFilesTest, TheDataLockIsSharedWithinACopyAndExcludesAnother) {
  auto first = win.LockData({});
  auto again = win.LockData({});  // the same copy gets it at once
  first.reset();
  // Another holder (its own lock file handle, as another copy has) waits
  // until the last holder here lets go.
  WinPlatform other;
  std::atomic<bool> got{false};
  std::thread waiter([&] {
    auto lock = other.LockData({});
    got = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(got);
  again.reset();
  waiter.join();
  EXPECT_TRUE(got);

  // Held past the limit, the wait ends with a failure, having let the
  // caller's windows paint meanwhile.
  auto held = win.LockData({});
  int looks = 0;
  EXPECT_THROW(other.LockData({.still_waiting = {},
                               .meanwhile = [&] { ++looks; },
                               .limit = std::chrono::milliseconds(200)}),
               Failure);
  EXPECT_GT(looks, 0);
}

TEST_F(WinFilesTest, AProcessTagNamesThisRunningProcessOnly) {
  const std::string tag = win.ProcessTag();
  EXPECT_TRUE(win.ProcessRunning(tag));
  const std::string id = tag.substr(0, tag.find(' '));
  EXPECT_FALSE(win.ProcessRunning(id + " 1"));  // the same id, started at another time
  EXPECT_FALSE(win.ProcessRunning(""));
}

TEST_F(WinFilesTest, StoreFoldersAreMadeForTheUserAlone) {
  const std::string store = home.Root().string() + "\\Store";
  win.CreatePrivateFolder(store);
  EXPECT_NO_THROW(win.CreatePrivateFolder(store));
  const FolderFacts facts = win.InspectFolder(store);
  EXPECT_TRUE(facts.exists && facts.own && facts.link.empty());
  EXPECT_EQ(facts.kind, EntryKind::Directory);
  EXPECT_FALSE(win.InspectFolder(store + "\\missing\\deeper").exists);

  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(
      GetNamedSecurityInfoW(fs::path(store).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                            nullptr, nullptr, &acl, nullptr, &descriptor),
      static_cast<DWORD>(ERROR_SUCCESS));
  // (Wine keeps the entries but not the "protected" mark, so only the
  // entries are looked at.)
  EXPECT_EQ(acl->AceCount, 2) << "the user and the system";
  LocalFree(descriptor);
}

}  // namespace
}  // namespace veilbox::testing
