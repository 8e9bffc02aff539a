#include "platform/posix/Mounts.h"

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

}  // namespace veilbox
