// Which rows of the folder list the FOLDER arguments of a command name.
#pragma once

#include <string>
#include <vector>

#include "engine/FolderRow.h"
#include "store/FolderRecord.h"

namespace veilbox::cli {

struct Selection {
  std::vector<FolderRow> rows;       // every row of the list, the named ones ticked
  std::vector<std::string> missing;  // full paths that name no row
  bool AnyTicked() const;
};

// A full path names every row whose folder path and name make it up (the
// same folder can be listed twice).
Selection SelectRows(const std::vector<ListRow>& list, const std::vector<std::string>& full_paths);

}  // namespace veilbox::cli
