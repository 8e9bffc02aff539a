// The consistency check: compares the folder database with the store
// folders and the folders' own places, and can repair what it safely can.
#pragma once

#include <string>
#include <vector>

#include "app/AppState.h"

namespace veilbox {

struct CheckReport {
  std::vector<std::string> findings;  // one sentence per disagreement
  std::vector<std::string> repairs;   // one sentence per repair made
};

// Finds: a record whose folder is missing; a store sub-folder that no record
// names; a "temp" folder that is not empty; file names that do not match
// their record's encryption. With repair, orphaned store sub-folders become
// Hidden records (their own place unknown, so a restore asks where to put
// them) and file names are brought in line with their records.
CheckReport CheckFolders(AppState& state, bool repair);

}  // namespace veilbox
