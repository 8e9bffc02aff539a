// The consistency check: compares the folder database with the store
// folders and the folders' own places, and can repair what it safely can.
#pragma once

#include <string>
#include <vector>

#include "app/Session.h"

namespace veilbox {

struct CheckReport {
  std::vector<std::string> findings;  // one sentence per disagreement
  std::vector<std::string> repairs;   // one sentence per repair made
  bool complete = false;              // every row and store folder was looked at
};

// Finds: a record whose folder is missing; a store sub-folder that no record
// names; a "temp" folder that is not empty; file names that do not match
// their record's encryption; stand-ins whose side file is missing or
// damaged, and side files without their stand-in; a store folder that
// Veilbox could not have made. With repair, orphaned sub-folders of a store
// folder that Veilbox made become Hidden records (their own place unknown,
// so a restore asks where to put them), plain names in a folder whose
// record says "Encrypted" get their cipher form (or a stand-in), and where
// names are to be plain, a side file goes whose file has its name back
// beside it. Cipher-looking names elsewhere are only reported: nothing
// proves they are Veilbox's.
CheckReport CheckFolders(Session& session, bool repair);

}  // namespace veilbox
