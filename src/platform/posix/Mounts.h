// Mount points from /proc/self/mountinfo, and the one that holds a path.
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

}  // namespace veilbox
