#include "engine/StoreName.h"

#include <algorithm>
#include <unordered_set>

namespace veilbox {
namespace {

FreeName FirstFree(const std::unordered_set<std::string>& taken, const std::string& name) {
  FreeName result{name, false};
  while (taken.count(FoldedName(result.name))) {
    result.name += "(1)";
    result.changed = true;
  }
  return result;
}

}  // namespace

std::string FoldedName(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  return name;
}

FreeName FindFreeName(OpenFolder& folder, const std::string& name, Where where) {
  // Every entry counts, not only folders: a move never replaces anything.
  std::unordered_set<std::string> taken;
  for (const DirEntry& e : folder.List(where)) taken.insert(FoldedName(e.name));
  return FirstFree(taken, name);
}

FreeName FindFreeName(const StoreMemo& store, const std::string& name) {
  return FirstFree(store.taken, name);
}

}  // namespace veilbox
