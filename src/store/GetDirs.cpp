#include "store/GetDirs.h"

namespace veilbox {

std::string GetDirs(Platform& platform, const std::string& folder, int filter, Where where) {
  std::string names;
  for (const DirEntry& entry : platform.ListDirectory(folder, where)) {
    if (entry.hidden) continue;
    if (filter == kDirectoryAttribute && entry.kind != EntryKind::Directory) continue;
    names += entry.name + ",";
  }
  return names;
}

}  // namespace veilbox
