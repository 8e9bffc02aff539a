// Settings through the real registry (Wine's under test): what the settings
// store reads back from values other tools wrote with the Win32 API, and
// what it writes. Each test has a key of its own (TempHome).
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Settings.h"
#include "diag/Failure.h"
#include "platform/Environment.h"
#include "platform/win32/KeyValue.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinPlatform.h"
#include "support/HomeTest.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

constexpr const char* kKey = "SOFTWARE\\TK";

class RegistryTest : public HomeTest {
 protected:
  // The settings key as the Win32 API names it below HKEY_CURRENT_USER.
  std::wstring RawKey() const {
    const std::optional<std::string> root = EnvironmentValue(kRegistryRootVariable);
    return std::wstring(root->begin(), root->end()) + L"\\SOFTWARE\\TK";
  }
  void WriteRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RawKey().c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void WriteWide(const wchar_t* name, const std::wstring& data, DWORD type = REG_SZ) {
    WriteRaw(name, type, data.data(), static_cast<DWORD>(data.size() * sizeof(wchar_t)));
  }
  // The stored value's type and bytes, as the Win32 API sees them.
  std::pair<DWORD, std::wstring> ReadRaw(const wchar_t* name) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RawKey().c_str(), 0, KEY_QUERY_VALUE, &key) != 0) {
      return {};
    }
    DWORD type = 0, size = 0;
    RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
    std::wstring data(size / sizeof(wchar_t), L'\0');
    RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(key);
    return {type, data};
  }
};

TEST_F(RegistryTest, SavedStringsRoundTripAsAnsiTextWithoutATerminatingNul) {
  EXPECT_TRUE(SaveString(session, SettingsRoot::CurrentUser, kKey, "VeilboxHideFolderPath",
                         "C:\\Café\\Data*"));
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), "C:\\Café\\Data*");
  // Stored as the text itself with no terminating NUL counted in its length;
  // Wine's RegSetValueExA adds one of its own, which Windows does not.
  auto [type, stored] = ReadRaw(L"VeilboxHideFolderPath");
  EXPECT_EQ(type, DWORD{REG_SZ});
  if (!stored.empty() && stored.back() == L'\0') stored.pop_back();
  EXPECT_EQ(stored, L"C:\\Café\\Data*");

  EXPECT_TRUE(SaveString(session, SettingsRoot::CurrentUser, kKey, "VeilboxFirstTime", ""));
  EXPECT_EQ(ReadRaw(L"VeilboxFirstTime").first, DWORD{REG_SZ});
  EXPECT_EQ(Setting("VeilboxFirstTime"), "");
  EXPECT_EQ(platform.ReadSetting(SettingsRoot::CurrentUser, kKey, "VeilboxFirstTime"), "");

  // Writes are immediate: the next read sees the new text.
  EXPECT_TRUE(SaveString(session, SettingsRoot::CurrentUser, kKey, "VeilboxFirstTime", "No"));
  EXPECT_EQ(Setting("VeilboxFirstTime"), "No");
}

TEST_F(RegistryTest, ValuesOtherToolsWroteReadByTheSettingsStoreRules) {
  WriteWide(L"Terminated", std::wstring(L"abc\0", 4));
  WriteWide(L"Embedded", std::wstring(L"ab\0cd", 5));
  WriteWide(L"Expandable", L"%SystemRoot%", REG_EXPAND_SZ);
  const DWORD number = 7;
  WriteRaw(L"Number", REG_DWORD, &number, sizeof number);
  const unsigned char one[] = {0xFF}, two[] = {0xFE, 0xFF}, three[] = {1, 2, 3};
  WriteRaw(L"OneByte", REG_BINARY, one, 1);
  WriteRaw(L"TwoBytes", REG_BINARY, two, 2);
  WriteRaw(L"ThreeBytes", REG_BINARY, three, 3);

  EXPECT_EQ(Setting("Terminated"), "abc");
  EXPECT_EQ(Setting("Embedded"), "ab");
  EXPECT_EQ(Setting("Expandable"), "");
  EXPECT_EQ(Setting("Number"), "");
  EXPECT_EQ(platform.ReadSetting(SettingsRoot::CurrentUser, kKey, "Number"), std::nullopt);
  // Binary values are a 16-bit signed integer in decimal.
  EXPECT_EQ(Setting("OneByte"), "255");
  EXPECT_EQ(Setting("TwoBytes"), "-2");
  EXPECT_EQ(Setting("ThreeBytes"), "");
  EXPECT_EQ(Setting("Missing"), "");
  EXPECT_EQ(GetString(session, SettingsRoot::CurrentUser, "SOFTWARE\\NoSuchKey", "X"), "");
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(RegistryTest, MachineValuesAreReadButNeverWritten) {
  EXPECT_EQ(GetString(session, SettingsRoot::LocalMachine,
                      "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot"),
            "C:\\windows");
  EXPECT_THROW(platform.WriteSetting(SettingsRoot::LocalMachine, kKey, "X", "y"), Failure);
  EXPECT_EQ(WinPlatform().WindowsFolder(), "C:\\windows");
}

TEST_F(RegistryTest, GetKeyValueDropsOnlyATerminatingNul) {
  const std::string key = win32::Narrow(RawKey());
  WriteWide(L"Terminated", std::wstring(L"C:\\Tools\0", 9));
  WriteWide(L"Bare", L"C:\\Tools");
  const DWORD number = 7;
  WriteRaw(L"Number", REG_DWORD, &number, sizeof number);
  std::string value = "old";
  EXPECT_TRUE(win32::GetKeyValue(HKEY_CURRENT_USER, key, "Terminated", value));
  EXPECT_EQ(value, "C:\\Tools");
  EXPECT_TRUE(win32::GetKeyValue(HKEY_CURRENT_USER, key, "Bare", value));
  EXPECT_EQ(value, "C:\\Tools");
  EXPECT_TRUE(win32::GetKeyValue(HKEY_CURRENT_USER, key, "Number", value));
  EXPECT_EQ(value, "");
  value = "old";
  EXPECT_FALSE(win32::GetKeyValue(HKEY_CURRENT_USER, key, "Missing", value));
  EXPECT_EQ(value, "");
  EXPECT_FALSE(win32::GetKeyValue(HKEY_CURRENT_USER, key + "\\Nothing", "Bare", value));
}

TEST_F(RegistryTest, TheSystemInformationProgramComesFromTheMsInfoKeysInOrder) {
  // The machine keys are looked up below a root of the test's own.
  HKEY root;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RawKey().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &root, nullptr),
            ERROR_SUCCESS);
  const auto set = [&](const char* key, const char* name, const std::string& text) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(k);
  };
  EXPECT_EQ(win32::SystemInfoProgram(root), std::nullopt);

  const std::string tools = home.MakeFolder("tools").string();
  set(win32::kSharedToolsKey, "MSINFO", tools);
  EXPECT_EQ(win32::SystemInfoProgram(root), std::nullopt) << "no MSINFO32.EXE in the folder";
  WriteText(home.Root() / "tools" / "MSINFO32.EXE", "MZ");
  EXPECT_EQ(win32::SystemInfoProgram(root), tools + "\\MSINFO32.EXE");
  SetFileAttributesW((home.Root() / "tools" / "MSINFO32.EXE").c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(win32::SystemInfoProgram(root), std::nullopt) << "a hidden file is not normal";

  set(win32::kMsInfoKey, "PATH", "D:\\Elsewhere\\msinfo32.exe");
  EXPECT_EQ(win32::SystemInfoProgram(root), "D:\\Elsewhere\\msinfo32.exe");
  RegCloseKey(root);
}

}  // namespace
}  // namespace veilbox::testing
