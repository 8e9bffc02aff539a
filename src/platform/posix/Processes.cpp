// Processes told apart by id and start time, read from /proc/<id>/stat (the
// start time in clock ticks since boot, its 22nd field). Without /proc the
// id alone is looked at.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/posix/PosixPlatform.h"

namespace veilbox {
namespace {

constexpr int kFieldsBetweenStateAndStartTime = 18;

// The start time of a process that runs (neither a zombie nor dead).
std::optional<std::string> StartTimeOf(const std::string& pid) {
  std::ifstream in("/proc/" + pid + "/stat");
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  // The program's name, in parentheses, may hold any character.
  const size_t name_end = line.rfind(')');
  if (name_end == std::string::npos) return std::nullopt;
  std::istringstream fields(line.substr(name_end + 1));
  std::string session;
  fields >> session;
  if (session == "Z" || session == "X") return std::nullopt;
  std::string field;
  for (int i = 0; i < kFieldsBetweenStateAndStartTime && fields >> field;) ++i;
  return fields >> field ? std::optional<std::string>(field) : std::nullopt;
}

}  // namespace

std::string PosixPlatform::ProcessTag() {
  const std::string pid = std::to_string(::getpid());
  return pid + " " + StartTimeOf(pid).value_or("");
}

bool PosixPlatform::ProcessRunning(const std::string& tag) {
  std::istringstream in(tag);
  long pid = 0;
  std::string start;
  if (!(in >> pid) || pid <= 0) return false;
  in >> start;
  if (start.empty()) return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
  return StartTimeOf(std::to_string(pid)) == start;
}

}  // namespace veilbox
