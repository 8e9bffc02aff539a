#include "store/FolderOverlap.h"

#include <algorithm>

#include "store/TextUtil.h"

namespace veilbox {
namespace {

// The components of a full path. An absolute path starts with an empty one,
// which ".." never removes, so "/a" and "a" never match.
std::vector<std::string> Components(const std::string& path, char separator) {
  std::vector<std::string> parts;
  const size_t root = !path.empty() && path.front() == separator ? 1 : 0;
  if (root) parts.emplace_back();
  for (const std::string& part : SplitString(path, separator)) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (parts.size() > root) parts.pop_back();
    } else {
      parts.push_back(part);
    }
  }
  return parts;
}

bool StartsWith(const std::vector<std::string>& whole, const std::vector<std::string>& head) {
  return head.size() <= whole.size() && std::equal(head.begin(), head.end(), whole.begin());
}

}  // namespace

Overlap CompareFolders(const std::string& folder, const std::string& other, char separator) {
  if (folder.empty() || other.empty()) return Overlap::None;
  const std::vector<std::string> a = Components(folder, separator);
  const std::vector<std::string> b = Components(other, separator);
  if (a == b) return Overlap::Same;
  if (StartsWith(b, a)) return Overlap::Contains;
  if (StartsWith(a, b)) return Overlap::Inside;
  return Overlap::None;
}

Overlap CompareFolderIds(const FolderLineage& folder, const FolderLineage& other) {
  // Whether the lineage's first folder is above the other's own folder.
  auto above = [](const FolderLineage& upper, const FolderLineage& lower) {
    if (!upper.exists || upper.ids.empty()) return false;
    const auto from = lower.ids.begin() + (lower.exists && !lower.ids.empty() ? 1 : 0);
    return std::find(from, lower.ids.end(), upper.ids.front()) != lower.ids.end();
  };
  if (folder.exists && other.exists && !folder.ids.empty() && !other.ids.empty() &&
      folder.ids.front() == other.ids.front()) {
    return Overlap::Same;
  }
  if (above(folder, other)) return Overlap::Contains;
  if (above(other, folder)) return Overlap::Inside;
  return Overlap::None;
}

std::optional<std::string> OverlapProblem(Platform& platform, const std::string& folder,
                                          const std::vector<GuardedFolder>& guarded) {
  const char separator = platform.Separator();
  const FolderLineage lineage = platform.Lineage(folder);
  for (const GuardedFolder& g : guarded) {
    Overlap overlap = CompareFolders(folder, g.path, separator);
    if (overlap == Overlap::None && !g.path.empty()) {
      overlap = CompareFolderIds(lineage, platform.Lineage(g.path));
    }
    switch (overlap) {
      case Overlap::Same:
        return folder + " is " + g.name + (folder == g.path ? "" : " " + g.path) + ".";
      case Overlap::Contains:
        return folder + " contains " + g.name + " " + g.path + ".";
      case Overlap::Inside:
        if (!g.may_hold_it) return folder + " lies inside " + g.name + " " + g.path + ".";
        break;
      case Overlap::None:
        break;
    }
  }
  return std::nullopt;
}

}  // namespace veilbox
