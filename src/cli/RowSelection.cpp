#include "cli/RowSelection.h"

#include <algorithm>

namespace veilbox::cli {

bool Selection::AnyTicked() const {
  return std::any_of(rows.begin(), rows.end(), [](const FolderRow& row) { return row.ticked; });
}

Selection SelectRows(const std::vector<ListRow>& list, const std::vector<std::string>& full_paths) {
  Selection selection{UntickedRows(list), {}};
  for (const std::string& wanted : full_paths) {
    bool found = false;
    for (FolderRow& row : selection.rows) {
      if (row.path + row.folder == wanted) row.ticked = found = true;
    }
    if (!found) selection.missing.push_back(wanted);
  }
  return selection;
}

}  // namespace veilbox::cli
