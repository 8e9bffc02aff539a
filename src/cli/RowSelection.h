// Which rows of the folder list the FOLDER arguments of a command name.
#pragma once

#include <string>
#include <vector>

#include "app/Session.h"

namespace veilbox::cli {

struct Selection {
  std::vector<size_t> rows;          // the named rows, by their place in the list
  std::vector<std::string> missing;  // full paths that name no row
};

// A full path names every row whose folder path and name make it up (the
// same folder can be listed twice), each once.
Selection SelectRows(const std::vector<ListRow>& list, const std::vector<std::string>& full_paths);

}  // namespace veilbox::cli
