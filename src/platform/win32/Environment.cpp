#include "platform/Environment.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace veilbox {

std::optional<std::string> EnvironmentValue(const std::string& name) {
  const std::wstring wide_name = win32::Widen(name);
  SetLastError(ERROR_SUCCESS);
  DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (size == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::string();
  }
  std::wstring value(size, L'\0');
  size = GetEnvironmentVariableW(wide_name.c_str(), value.data(), size);
  value.resize(size);
  return win32::Narrow(value);
}

}  // namespace veilbox
