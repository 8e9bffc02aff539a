#include "cli/RowSelection.h"

#include <algorithm>
#include <unordered_map>

namespace veilbox::cli {

bool Selection::AnyTicked() const {
  return std::any_of(rows.begin(), rows.end(), [](const FolderRow& row) { return row.ticked; });
}

Selection SelectRows(const std::vector<ListRow>& list, const std::vector<std::string>& full_paths) {
  Selection selection{UntickedRows(list), {}};
  std::unordered_multimap<std::string, size_t> by_path;
  for (size_t i = 0; i < selection.rows.size(); ++i) {
    by_path.emplace(selection.rows[i].path + selection.rows[i].folder, i);
  }
  for (const std::string& wanted : full_paths) {
    auto [first, last] = by_path.equal_range(wanted);
    if (first == last) selection.missing.push_back(wanted);
    for (; first != last; ++first) selection.rows[first->second].ticked = true;
  }
  return selection;
}

}  // namespace veilbox::cli
