// Settings through Wine's registry, each test under a key of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Settings.h"
#include "platform/Environment.h"
#include "platform/win32/KeyValue.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinPlatform.h"
#include "support/HomeTest.h"

namespace veilbox::testing {
namespace {

using namespace std::literals;
constexpr const char* kKey = "SOFTWARE\\TK";

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

// Stored as the text itself in the ANSI code page, with no terminating NUL
// counted in its length, and read back at once.
TEST_F(RegistryTest, SavedStringsRoundTripAsAnsiTextWithoutATerminatingNul) {
  for (const std::string text : {"C:\\Café\\Data*", "", "No"}) {
    EXPECT_TRUE(
        SaveString(session, SettingsRoot::CurrentUser, kKey, "VeilboxHideFolderPath", text));
    EXPECT_EQ(Setting("VeilboxHideFolderPath"), text);
    DWORD type = 0, size = 1024;
    std::wstring stored(size / sizeof(wchar_t), L'\0');
    RegGetValueW(HKEY_CURRENT_USER, RawKey().c_str(), L"VeilboxHideFolderPath", RRF_RT_ANY, &type,
                 stored.data(), &size);
    stored.resize(size / sizeof(wchar_t));
    EXPECT_EQ(type, DWORD{REG_SZ});
    // Wine's RegSetValueExA adds a NUL of its own, which Windows does not.
    if (stored.ends_with(L'\0')) stored.pop_back();
    EXPECT_EQ(stored, win32::Widen(text));
  }
}

// The settings store reads text up to its first NUL and binary values as a
// 16-bit signed integer in decimal; GetKeyValue drops only a terminating NUL.
TEST_F(RegistryTest, ValuesOtherToolsWroteAreReadByTheirReadersRules) {
  const DWORD seven = 7;
  const std::tuple<const char*, DWORD, std::string, std::string> values[] = {
      {"Terminated", REG_SZ, Bytes(L"abc\0"sv), "abc"},
      {"Bare", REG_SZ, Bytes(L"abc"sv), "abc"},
      {"Embedded", REG_SZ, Bytes(L"ab\0cd"sv), "ab"},
      {"Expandable", REG_EXPAND_SZ, Bytes(L"%SystemRoot%"sv), ""},
      {"Number", REG_DWORD, std::string(reinterpret_cast<const char*>(&seven), 4), ""},
      {"OneByte", REG_BINARY, "\xFF", "255"},
      {"TwoBytes", REG_BINARY, "\xFE\xFF", "-2"},
      {"ThreeBytes", REG_BINARY, "\x01\x02\x03", ""},
  };
  for (const auto& [name, type, bytes, read] : values) WriteRaw(name, type, bytes);
  for (const auto& [name, type, bytes, read] : values) EXPECT_EQ(Setting(name), read) << name;
  EXPECT_EQ(platform.ReadSetting(SettingsRoot::CurrentUser, kKey, "Number"), std::nullopt);
  EXPECT_TRUE(dialogue.boxes.empty());

  const auto get = [](const std::string& key, const char* name) {
    std::string value = "old";
    const bool found = win32::GetKeyValue(HKEY_CURRENT_USER, key, name, value);
    return std::pair(found, value);
  };
  const std::string key = win32::Narrow(RawKey());
  EXPECT_EQ(get(key, "Terminated"), std::pair(true, "abc"s));
  EXPECT_EQ(get(key, "Bare"), std::pair(true, "abc"s));
  EXPECT_EQ(get(key, "Embedded"), std::pair(true, "ab\0cd"s));
  EXPECT_EQ(get(key, "Number"), std::pair(true, ""s));
  EXPECT_EQ(get(key, "Missing"), std::pair(false, ""s));
  EXPECT_EQ(get(key + "\\Nothing", "Bare"), std::pair(false, ""s));
}

// Machine values are read; the MSINFO keys, looked up below a root of the
// test's own, give the system information program in order.
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
