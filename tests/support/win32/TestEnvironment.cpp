#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "platform/win32/WideText.h"
#include "platform/win32/WinPlatform.h"
#include "support/TestEnvironment.h"

namespace veilbox::testing {
namespace fs = std::filesystem;
using win32::Widen;

// A name no other test running now has: process id, time and a counter.
static std::wstring UniqueName() {
  static std::atomic<unsigned> counter{0};
  return L"veilbox-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++);
}

void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
  SetEnvironmentVariableW(Widen(name).c_str(), value ? Widen(*value).c_str() : nullptr);
}

fs::path MakeTemporaryFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(MAX_PATH, temp);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder = fs::path(std::wstring(temp, n)) / UniqueName();
    if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
  }
  throw std::runtime_error("no temporary folder");
}

PrivateSettings::PrivateSettings()
    : key_("Software\\VeilboxTests\\" + win32::Narrow(UniqueName())) {
  SetEnvironment(kRegistryRootVariable, key_);
}

PrivateSettings::~PrivateSettings() {
  SetEnvironment(kRegistryRootVariable, std::nullopt);
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key_).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, Widen(key_).c_str());
}

}  // namespace veilbox::testing
