// Mount points from /proc/self/mountinfo, and the one that holds a path.
// MountTable keeps the file open and reads it again only when the kernel
// flags a change of the mount table, so that a command asking for the drive
// of many paths reads it once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veilbox {

// The mount points listed in mountinfo text, with their escapes (\040 for a
// blank and so on) decoded.
std::vector<std::string> ParseMountPoints(std::string_view mountinfo);

// The longest mount point that is the canonical path or one of its
// ancestors, written with a trailing "/". "/" when none matches.
std::string MountPointOf(const std::string& canonical_path,
                         const std::vector<std::string>& mount_points);

// The mount points of /proc/self/mountinfo, as of now.
class MountTable {
 public:
  MountTable() = default;
  ~MountTable();
  MountTable(const MountTable&) = delete;
  MountTable& operator=(const MountTable&) = delete;

  // Empty when the file cannot be read.
  const std::vector<std::string>& Points();

 private:
  int fd_ = -1;
  std::vector<std::string> points_;
};

}  // namespace veilbox
