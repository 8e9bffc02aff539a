#include "platform/win32/AccessControl.h"

#include <windows.h>

#include "platform/win32/WideText.h"
#include "platform/win32/WinError.h"

namespace veilbox::win32 {

std::string CaclsCommandLine(const std::string& windows_folder, const std::string& folder,
                             bool lock) {
  return windows_folder + "\\System32\\cacls.exe \"" + folder + "\"" +
         (lock ? " /E /D USERS" : " /E /G USERS:F");
}

void StartHidden(const std::string& command_line, unsigned long wait_ms, Where where) {
  std::wstring line = Widen(command_line);  // CreateProcessW may write to it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    RaiseWin32(GetLastError(), "Cannot start " + command_line, where);
  }
  WaitForSingleObject(process.hProcess, wait_ms);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace veilbox::win32
