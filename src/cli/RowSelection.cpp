#include "cli/RowSelection.h"

#include <algorithm>
#include <unordered_map>

namespace veilbox::cli {

Selection SelectRows(const std::vector<ListRow>& list, const std::vector<std::string>& full_paths) {
  Selection selection;
  std::unordered_multimap<std::string, size_t> by_path;
  for (size_t i = 0; i < list.size(); ++i) by_path.emplace(list[i].path + list[i].folder, i);
  std::vector<bool> chosen(list.size(), false);
  for (const std::string& wanted : full_paths) {
    auto [first, last] = by_path.equal_range(wanted);
    if (first == last) selection.missing.push_back(wanted);
    for (; first != last; ++first) chosen[first->second] = true;
  }
  for (size_t i = 0; i < chosen.size(); ++i) {
    if (chosen[i]) selection.rows.push_back(i);
  }
  return selection;
}

}  // namespace veilbox::cli
