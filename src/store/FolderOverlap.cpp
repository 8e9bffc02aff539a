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

std::optional<std::string> OverlapProblem(const std::string& folder,
                                          const std::vector<GuardedFolder>& guarded,
                                          char separator) {
  for (const GuardedFolder& g : guarded) {
    switch (CompareFolders(folder, g.path, separator)) {
      case Overlap::Same:
        return folder + " is " + g.name + ".";
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
