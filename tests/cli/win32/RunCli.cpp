// RunCli on Windows: veilbox-cli.exe beside the test program, with files as
// its standard streams.
#include <windows.h>

#include <stdexcept>

#include "cli/RunCli.h"
#include "platform/win32/WideText.h"
#include "support/TempHome.h"

namespace veilbox::testing {

CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
              const std::filesystem::path& scratch, const std::filesystem::path& working_folder) {
  // Files of their own for each run: Wine may keep the last run's open.
  static int runs = 0;
  const std::string n = std::to_string(++runs);
  const std::filesystem::path files[] = {scratch / ("stdin" + n), scratch / ("stdout" + n),
                                         scratch / ("stderr" + n)};
  WriteText(files[0], input);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::filesystem::path program =
      std::filesystem::path(self).parent_path() / L"veilbox-cli.exe";
  // Each word quoted, doubling the backslashes before the closing quote.
  std::wstring line = L"\"" + program.wstring() + L"\"";
  for (const std::string& arg : args) {
    const std::wstring word = win32::Widen(arg);
    line += L" \"" + word + std::wstring(word.size() - (word.find_last_not_of(L'\\') + 1), L'\\') +
            L"\"";
  }
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  HANDLE* const streams[] = {&startup.hStdInput, &startup.hStdOutput, &startup.hStdError};
  for (int i = 0; i < 3; ++i) {
    *streams[i] = CreateFileW(files[i].c_str(), i ? GENERIC_WRITE : GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                              i ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
  }
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                     nullptr, working_folder.c_str(), &startup, &process);
  for (HANDLE* stream : streams) CloseHandle(*stream);
  if (!started) throw std::runtime_error("cannot start " + program.string());
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return {static_cast<int>(code), ReadText(files[1]), ReadText(files[2])};
}

}  // namespace veilbox::testing
