// What only the Windows platform does, on Wine's drive C:.
#include <gmock/gmock.h>
#include <windows.h>
// clang-format off: after windows.h
#include <aclapi.h>
// clang-format on

#include "app/FolderData.h"
#include "platform/Codec.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/WinFiles.h"
#include "platform/win32/WinPlatform.h"
#include "store/GetDirs.h"
#include "support/HomeTest.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

struct WinFilesTest : HomeTest {
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
}

TEST_F(WinFilesTest, ListingsMarkHiddenAndSystemEntriesWhichGetDirsLeavesOut) {
  const fs::path list = home.MakeFolder("list");
  const std::string folder = list.string() + "\\";
  for (const char* name : {"b", "a", "hidden", "system"}) fs::create_directory(list / name);
  WriteText(list / "c.txt", "");
  SetFileAttributesW((list / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW((list / "system").c_str(), FILE_ATTRIBUTE_SYSTEM);
  std::vector<std::string> all;
  for (const DirEntry& e : win.ListDirectory(folder)) {
    all.push_back(e.name + (e.kind == EntryKind::Directory ? "/" : "") + (e.hidden ? " h" : ""));
  }
  EXPECT_THAT(all, ElementsAre("a/", "b/", "c.txt", "hidden/ h", "system/ h"));
  EXPECT_EQ(GetDirs(win, folder, kDirectoryAttribute), "a,b,");
  EXPECT_EQ(GetDirs(win, folder, 0), "a,b,c.txt,");
}

// Wine makes no reparse points, so the kinds are told from the tags.
TEST(EntryKinds, OnlyReparsePointsThatStandForAnotherNameAreLinks) {
  constexpr DWORD kReparse = FILE_ATTRIBUTE_REPARSE_POINT, kFolder = FILE_ATTRIBUTE_DIRECTORY;
  const std::tuple<DWORD, DWORD, EntryKind> cases[] = {
      {kReparse | kFolder, IO_REPARSE_TAG_SYMLINK, EntryKind::Link},
      {kReparse, IO_REPARSE_TAG_SYMLINK, EntryKind::Link},
      {kReparse | kFolder, IO_REPARSE_TAG_MOUNT_POINT, EntryKind::Link},   // junction, mount point
      {kReparse | kFolder, IO_REPARSE_TAG_CLOUD_6, EntryKind::Directory},  // OneDrive on demand
      {kReparse, IO_REPARSE_TAG_ONEDRIVE, EntryKind::File},
      {kReparse, IO_REPARSE_TAG_DEDUP, EntryKind::File},
      {kReparse, IO_REPARSE_TAG_WOF, EntryKind::File},
      {kFolder, IO_REPARSE_TAG_SYMLINK, EntryKind::Directory},  // no reparse point: no tag
  };
  for (const auto& [attributes, tag, kind] : cases)
    EXPECT_EQ(win32::KindOf(attributes, tag), kind) << std::hex << tag;
}

TEST(LongPaths, PathsGoToTheSystemWholeAndInTheirLongForm) {
  const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
      {L"C:\\Work\\Plans", L"\\\\?\\C:\\Work\\Plans", L"C:\\Work\\Plans"},
      {L"C:/Work/./Old/../Plans", L"\\\\?\\C:\\Work\\Plans", L"C:\\Work\\Plans"},
      {L"C:\\", L"\\\\?\\C:\\", L"C:\\"},
      {L"\\\\server\\share\\Plans", L"\\\\?\\UNC\\server\\share\\Plans",
       L"\\\\server\\share\\Plans"},
      {L"\\\\?\\C:\\Work\\..", L"\\\\?\\C:\\Work\\..", L"C:\\Work\\.."},
  };
  for (const auto& [given, system, user] : cases) {
    EXPECT_EQ(win32::SystemPath(given), system);
    EXPECT_EQ(win32::UserPath(system), user);
  }
}

TEST_F(WinFilesTest, DrivesProgramFolderAndStoreFolders) {
  EXPECT_EQ(win.DriveKey("D:\\Work\\Plans"), "D:\\");
  EXPECT_EQ(win.DriveKey("c:\\x"), "c:\\");
  EXPECT_EQ(win.DriveKey("\\\\server\\share"), "\\\\s");
  EXPECT_EQ(win.DriveKey("é:\\x"), "é:\\");
  EXPECT_EQ(win.Separator(), '\\');
  SetEnvironment("VEILBOX_HOME", std::nullopt);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(win.ProgramFolder(), fs::path(self).parent_path().string());

  // Store folders are made for the user and the system alone.
  const fs::path store = home.Root() / "Store";
  win.CreatePrivateFolder(store.string());
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoW(store.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                  nullptr, &acl, nullptr, &descriptor),
            DWORD{ERROR_SUCCESS});
  EXPECT_EQ(acl->AceCount, 2);  // (Wine keeps no "protected" mark)
  LocalFree(descriptor);
}

}  // namespace
}  // namespace veilbox::testing
