#include "platform/posix/Mounts.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <sstream>

namespace veilbox {
namespace {

std::string Unescape(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      if (digits.find_first_not_of("01234567") == std::string_view::npos) {
        out +=
            static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

bool Contains(const std::string& mount, const std::string& path) {
  if (mount == "/") return !path.empty() && path[0] == '/';
  return path == mount || (path.size() > mount.size() &&
                           path.compare(0, mount.size(), mount) == 0 && path[mount.size()] == '/');
}

}  // namespace

std::vector<std::string> ParseMountPoints(std::string_view mountinfo) {
  std::vector<std::string> points;
  std::istringstream lines{std::string(mountinfo)};
  std::string line;
  while (std::getline(lines, line)) {
    // Fields: id, parent id, major:minor, root, mount point, ...
    std::istringstream fields(line);
    std::string id, parent, device, root, mount_point;
    if (fields >> id >> parent >> device >> root >> mount_point) {
      points.push_back(Unescape(mount_point));
    }
  }
  return points;
}

std::string MountPointOf(const std::string& canonical_path,
                         const std::vector<std::string>& mount_points) {
  std::string best = "/";
  for (const auto& m : mount_points) {
    if (Contains(m, canonical_path) && m.size() > best.size()) best = m;
  }
  return best == "/" ? best : best + "/";
}

MountTable::~MountTable() {
  if (fd_ >= 0) ::close(fd_);
}

const std::vector<std::string>& MountTable::Points() {
  if (fd_ >= 0) {
    // The kernel marks the open file with a priority event once the mount
    // table changed since it was last polled or opened.
    pollfd changed{fd_, POLLPRI, 0};
    if (::poll(&changed, 1, 0) == 0) return points_;
    if (::lseek(fd_, 0, SEEK_SET) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  if (fd_ < 0) fd_ = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
  std::string text;
  char buffer[16384];
  ssize_t got = 0;
  while (fd_ >= 0 && (got = ::read(fd_, buffer, sizeof buffer)) > 0) text.append(buffer, got);
  if (fd_ < 0 || got < 0) {
    points_.clear();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    return points_;
  }
  points_ = ParseMountPoints(text);
  return points_;
}

}  // namespace veilbox
