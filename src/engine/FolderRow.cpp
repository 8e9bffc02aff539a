#include "engine/FolderRow.h"

namespace veilbox {

std::vector<FolderRow> UntickedRows(const std::vector<ListRow>& rows) {
  std::vector<FolderRow> result;
  result.reserve(rows.size());
  for (const auto& r : rows) result.push_back({r.folder, r.path, false});
  return result;
}

}  // namespace veilbox
