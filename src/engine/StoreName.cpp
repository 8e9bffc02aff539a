#include "engine/StoreName.h"

#include <algorithm>
#include <unordered_set>

namespace veilbox {
namespace {

std::string Folded(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  return text;
}

}  // namespace

FreeName FindFreeName(OpenFolder& folder, const std::string& name, Where where) {
  // Every entry counts, not only folders: a move never replaces anything.
  std::unordered_set<std::string> taken;
  for (const DirEntry& e : folder.List(where)) taken.insert(Folded(e.name));
  FreeName result{name, false};
  while (taken.count(Folded(result.name))) {
    result.name += "(1)";
    result.changed = true;
  }
  return result;
}

}  // namespace veilbox
