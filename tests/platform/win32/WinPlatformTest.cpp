// What only the Windows platform does, on Wine's drive C: and in its registry.
#include <gmock/gmock.h>
#include <windows.h>
// clang-format off: after windows.h
#include <aclapi.h>
#include <sddl.h>
// clang-format on

#include "app/FolderData.h"
#include "app/Settings.h"
#include "diag/Failure.h"
#include "platform/Codec.h"
#include "platform/Environment.h"
#include "platform/win32/AccessControl.h"
#include "platform/win32/Handle.h"
#include "platform/win32/KeyValue.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinFiles.h"
#include "platform/win32/WinPlatform.h"
#include "support/HomeTest.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;
using ::testing::StartsWith;
constexpr const char* kKey = "SOFTWARE\\TK";

struct WinFilesTest : HomeTest {
  WinPlatform win;
};

TEST_F(WinFilesTest, TextIsStoredInTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of code page 1252";
  EXPECT_EQ(ToAnsi("日"), "?") << "a character the code page lacks";
  EXPECT_EQ(ToAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));

  session.data_file = win.ProgramFolder() + "\\Dat.sys";
  session.folders = FolderList::Parse("Café<C:\\Work\\<Hidden<Encrypted<Café<*");
  ASSERT_TRUE(SaveFolders(session));
  EXPECT_EQ(ReadText(session.data_file), "Caf\xE9<C:\\Work\\<Hidden<Encrypted<Caf\xE9<*\r\n");
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
      {kFolder, IO_REPARSE_TAG_SYMLINK, EntryKind::Directory}};  // no reparse point: no tag
  for (const auto& [attributes, tag, kind] : cases)
    EXPECT_EQ(win32::KindOf(attributes, tag), kind) << std::hex << tag;
}

TEST(LongPaths, PathsGoToTheSystemWholeAndInTheirLongForm) {
  const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
      {L"C:/Work/./Old/../Plans", L"\\\\?\\C:\\Work\\Plans", L"C:\\Work\\Plans"},
      {L"C:\\", L"\\\\?\\C:\\", L"C:\\"},
      {L"\\\\server\\share\\Plans", L"\\\\?\\UNC\\server\\share\\Plans",
       L"\\\\server\\share\\Plans"},
      {L"\\\\?\\C:\\Work\\..", L"\\\\?\\C:\\Work\\..", L"C:\\Work\\.."}};
  for (const auto& [given, system, user] : cases) {
    EXPECT_EQ(win32::SystemPath(given), system);
    EXPECT_EQ(win32::UserPath(system), user);
  }
}

TEST_F(WinFilesTest, DrivesProgramFolderAndStoreFolders) {
  EXPECT_EQ(win.DriveKey("D:\\Work\\Plans"), "D:\\");
  EXPECT_EQ(win.DriveKey("\\\\server\\share"), "\\\\s");
  EXPECT_EQ(win.DriveKey("é:\\x"), "é:\\");
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

// The SDDL list, locked or unlocked when lock says so, as the system writes it back.
std::string Changed(const std::string& sddl, std::optional<bool> lock = std::nullopt) {
  PSECURITY_DESCRIPTOR given = nullptr;
  EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                                   &given, nullptr));
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  GetSecurityDescriptorDacl(given, &present, &acl, &defaulted);
  std::vector<unsigned char> made;
  if (lock) made = win32::StoreFolderAcl(*acl, *lock, {});
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, lock ? reinterpret_cast<ACL*>(made.data()) : acl,
                            FALSE);
  char* text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorA(&descriptor, SDDL_REVISION_1,
                                                       DACL_SECURITY_INFORMATION, &text, nullptr);
  const std::string written = text;
  LocalFree(text);
  LocalFree(given);
  return written;
}

TEST(AccessControl, LockDeniesUsersAndUnlockLeavesTheFolderToItsOwnEntries) {
  // Veilbox's own entries: the user and the system; BU is Users.
  const std::string own = "(A;OICI;FA;;;S-1-5-21-7-8-9-1001)(A;OICI;FA;;;SY)";
  const std::string others = "(D;;FA;;;BG)(A;;FA;;;BA)(A;OICIID;FR;;;BU)";
  // (start, the list given, unlocked; locked has a deny entry for Users in front)
  const std::tuple<const char*, std::string, std::string> cases[] = {
      {"made by Veilbox", "D:" + own, own},
      {"the old lock", "D:(D;OICI;FA;;;BU)" + own, own},
      {"the old unlock", "D:" + own + "(A;OICI;FA;;;BU)", own},
      {"other accounts, and Users inherited", "D:" + others, others}};
  for (const auto& [start, from, entries] : cases) {
    const std::string locked = Changed("D:(D;;FA;;;BU)" + entries);
    const std::string unlocked = Changed("D:" + entries);
    EXPECT_EQ(Changed(from, true), locked) << start;
    EXPECT_EQ(Changed(from, false), unlocked) << start;
    EXPECT_EQ(Changed(locked, false), unlocked) << start;
    EXPECT_EQ(Changed(locked, true), locked) << start << ": locked twice";
    EXPECT_EQ(Changed(unlocked, true), locked) << start << ": locked again";
  }
}

// Through a handle that may read the list but not change it.
TEST(AccessControl, AFailedChangeIsRaisedWithItsReason) {
  TempHome home;
  win32::Handle read_only(CreateFileW(home.MakeFolder("My Vault").c_str(), READ_CONTROL,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(read_only.Valid());
  EXPECT_THAT([&] { win32::ChangeStoreFolderAccess(read_only.Get(), true, "Cannot lock X", {}); },
              ::testing::ThrowsMessage<Failure>(StartsWith("Cannot lock X: ")));
}

std::string Bytes(std::wstring_view text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

class RegistryTest : public HomeTest {
 protected:
  // The settings key as the Win32 API names it below HKEY_CURRENT_USER.
  std::wstring RawKey() const {
    return win32::Widen(*EnvironmentValue(kRegistryRootVariable)) + L"\\SOFTWARE\\TK";
  }
  void WriteRaw(const std::string& name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, RawKey().c_str(), win32::Widen(name).c_str(), type,
                              bytes.data(), static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
  }
};

// The settings store saves ANSI text with no NUL of its own (Wine's RegSetValueExA adds one), and
// reads text up to its first NUL and binary values as a 16-bit signed integer in decimal;
// GetKeyValue drops only a terminating NUL.
TEST_F(RegistryTest, StringsAreSavedAsAnsiAndOtherToolsValuesReadByTheirReadersRules) {
  const std::string text = "C:\\Café\\Data*";
  ASSERT_TRUE(SaveString(session, SettingsRoot::CurrentUser, kKey, "Saved", text));
  const DWORD seven = 7;
  const std::tuple<const char*, DWORD, std::string, std::string> values[] = {
      {"Terminated", REG_SZ, Bytes(L"abc\0"sv), "abc"},
      {"Bare", REG_SZ, Bytes(L"abc"sv), "abc"},
      {"Embedded", REG_SZ, Bytes(L"ab\0cd"sv), "ab"},
      {"Expandable", REG_EXPAND_SZ, Bytes(L"%SystemRoot%"sv), ""},
      {"Number", REG_DWORD, std::string(reinterpret_cast<const char*>(&seven), 4), ""},
      {"OneByte", REG_BINARY, "\xFF", "255"},
      {"TwoBytes", REG_BINARY, "\xFE\xFF", "-2"},
      {"ThreeBytes", REG_BINARY, "\x01\x02\x03", ""}};
  for (const auto& [name, type, bytes, read] : values) WriteRaw(name, type, bytes);
  for (const auto& [name, type, bytes, read] : values) EXPECT_EQ(Setting(name), read) << name;
  EXPECT_EQ(platform.ReadSetting(SettingsRoot::CurrentUser, kKey, "Number"), std::nullopt);
  EXPECT_TRUE(dialogue.boxes.empty());

  const std::string key = win32::Narrow(RawKey());
  const std::tuple<std::string, const char*, bool, std::string> raw[] = {
      {key, "Terminated", true, "abc"},   {key, "Bare", true, "abc"},
      {key, "Embedded", true, "ab\0cd"s}, {key, "Number", true, ""},
      {key, "Missing", false, ""},        {key + "\\Nothing", "Bare", false, ""},
      {key, "Saved", true, ToAnsi(text)}};
  for (const auto& [k, name, found, read] : raw) {
    std::string value = "old";
    EXPECT_EQ(win32::GetKeyValue(HKEY_CURRENT_USER, k, name, value), found) << name;
    EXPECT_EQ(value, read) << name;
  }
}

TEST_F(RegistryTest, MachineValuesAndTheSystemInformationProgram) {
  EXPECT_EQ(GetString(session, SettingsRoot::LocalMachine,
                      "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot"),
            "C:\\windows");
  EXPECT_EQ(WinPlatform().WindowsFolder(), "C:\\windows");
  HKEY root;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RawKey().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &root, nullptr),
            ERROR_SUCCESS);
  const auto set = [&](const char* key, const char* name, const std::string& text) {
    RegSetKeyValueA(root, key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  };
  EXPECT_EQ(win32::SystemInfoProgram(root), std::nullopt);
  const std::string tools = home.MakeFolder("tools").string();
  set(win32::kSharedToolsKey, "MSINFO", tools);
  WriteText(home.Root() / "tools" / "MSINFO32.EXE", "MZ");
  EXPECT_EQ(win32::SystemInfoProgram(root), tools + "\\MSINFO32.EXE");
  set(win32::kMsInfoKey, "PATH", "D:\\Elsewhere\\msinfo32.exe");
  EXPECT_EQ(win32::SystemInfoProgram(root), "D:\\Elsewhere\\msinfo32.exe");
  RegCloseKey(root);
}

}  // namespace
}  // namespace veilbox::testing
