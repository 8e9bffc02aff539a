// The filename pass: every file below a folder takes the cipher form of its
// name, or its plain name back. Names are planned before anything changes,
// so a hide can be refused while nothing has moved yet.
#pragma once

#include <string>
#include <vector>

#include "app/AppState.h"
#include "crypto/cEncrypt.h"

namespace veilbox {

struct NameChange {
  std::string relative;  // the file's path below the folder
  std::string new_name;  // empty: the file keeps its name
};

struct NamePlan {
  std::vector<NameChange> files;  // every file found, in the finder's order
  bool complete = true;           // false when part of the tree could not be read
};

// The cipher form of every file name below folder. Raises, naming the file,
// when a name's cipher form is longer than a file name may be.
NamePlan PlanEncryptedNames(AppState& state, cEncrypt& cipher, const std::string& folder,
                            Where where = Where::current());

// The plain name of every file below folder whose name is cipher text; other
// names stay as they are.
NamePlan PlanPlainNames(AppState& state, cEncrypt& cipher, const std::string& folder);

struct RenameOutcome {
  int failed = 0;
  std::string first_failure;  // the first file that kept its name, and why
};

// Renames the planned files below folder (which may since have moved there
// from where it was planned), reporting progress through the dialogue.
RenameOutcome RenameFiles(AppState& state, const std::string& folder, const NamePlan& plan);

}  // namespace veilbox
