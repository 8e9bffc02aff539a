// Processes told apart by id and creation time, so that a later process
// given the same id does not count.
#include <optional>
#include <sstream>

#include "platform/win32/WinPlatform.h"

namespace veilbox {
namespace {

std::optional<unsigned long long> CreationTime(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return std::nullopt;
  return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

std::string WinPlatform::ProcessTag() {
  const std::optional<unsigned long long> created = CreationTime(GetCurrentProcess());
  return std::to_string(GetCurrentProcessId()) + " " +
         (created ? std::to_string(*created) : std::string());
}

bool WinPlatform::ProcessRunning(const std::string& tag) {
  std::istringstream in(tag);
  unsigned long pid = 0;
  unsigned long long start = 0;
  if (!(in >> pid) || pid == 0) return false;
  const bool has_start = static_cast<bool>(in >> start);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  // A process that exists but may not be looked at counts as running.
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  const std::optional<unsigned long long> created = CreationTime(process);
  CloseHandle(process);
  return running && (!has_start || created == start);
}

}  // namespace veilbox
