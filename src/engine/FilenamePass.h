// The filename pass: every file below a folder takes the cipher form of its
// name, or its plain name back. Names are planned before anything changes,
// so a hide can be refused while nothing has moved yet. The pass works
// through the folder held open, never through its path, so it cannot be
// turned onto another folder by a link or a rename while it runs.
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

// The cipher form of every file name below folder (opened at path). Raises,
// naming the file, when a name's cipher form is longer than a file name may
// be, or when part of the tree cannot be read.
NamePlan PlanEncryptedNames(AppState& state, cEncrypt& cipher, OpenFolder& folder,
                            const std::string& path, Where where = Where::current());

// The plain name of every file below folder whose name is cipher text; other
// names stay as they are.
NamePlan PlanPlainNames(AppState& state, cEncrypt& cipher, OpenFolder& folder,
                        const std::string& path);
// The same for a folder given by its path, opened without following links.
NamePlan PlanPlainNames(AppState& state, cEncrypt& cipher, const std::string& path,
                        Where where = Where::current());

struct RenameOutcome {
  int failed = 0;
  std::string first_failure;  // the first file that kept its name, and why
};

// Resume::Yes finishes a pass that was stopped: a file whose old name is gone
// or whose new name is already taken is left as it is.
enum class Resume { No, Yes };

// Renames the planned files below folder (which may since have moved from
// where it was planned; path is where it is now, for messages), reporting
// progress through the dialogue.
RenameOutcome RenameFiles(AppState& state, OpenFolder& folder, const std::string& path,
                          const NamePlan& plan, Resume resume = Resume::No);
// The same for a folder given by its path, opened without following links.
RenameOutcome RenameFiles(AppState& state, const std::string& path, const NamePlan& plan,
                          Where where = Where::current());

// Opens the folder at path without following links; raises, saying why,
// when it cannot.
std::unique_ptr<OpenFolder> OpenFolderAt(Platform& platform, const std::string& path,
                                         Where where = Where::current());

}  // namespace veilbox
