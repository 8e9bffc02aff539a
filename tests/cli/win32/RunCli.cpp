// RunCli on Windows: veilbox-cli.exe, copied beside the test program by the
// build, started with files as its standard streams. It inherits the test's
// environment (its temporary home and registry key).
#include <windows.h>

#include <stdexcept>

#include "cli/RunCli.h"
#include "platform/win32/WideText.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

using win32::Widen;

// One argument as the C run-time's parser reads it back.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L"\"";
}

std::filesystem::path CliBesideThisProgram() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / L"veilbox-cli.exe";
}

HANDLE Inheritable(const std::filesystem::path& file, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE h = CreateFileW(file.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                         write ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    throw std::runtime_error("cannot open " + file.string() + ": error " +
                             std::to_string(GetLastError()));
  }
  return h;
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
              const std::filesystem::path& scratch, const std::filesystem::path& working_folder) {
  // Files of their own for each run: Wine's console helper may keep the
  // last run's files open a little longer.
  static int runs = 0;
  const std::string n = std::to_string(++runs);
  const std::filesystem::path in = scratch / ("stdin" + n), out = scratch / ("stdout" + n),
                              err = scratch / ("stderr" + n);
  WriteText(in, input);
  const std::filesystem::path program = CliBesideThisProgram();
  std::wstring line = Quoted(program.wstring());
  for (const std::string& a : args) line += L" " + Quoted(Widen(a));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = Inheritable(in, false);
  startup.hStdOutput = Inheritable(out, true);
  startup.hStdError = Inheritable(err, true);
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                     nullptr, working_folder.c_str(), &startup, &process);
  for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) CloseHandle(h);
  if (!started) throw std::runtime_error("cannot start " + program.string());
  CliRun run;
  DWORD code = 0;
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 &&
      GetExitCodeProcess(process.hProcess, &code)) {
    run.code = static_cast<int>(code);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  run.out = ReadText(out);
  run.err = ReadText(err);
  return run;
}

}  // namespace veilbox::testing
