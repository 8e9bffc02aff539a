// The filename pass: every file below a folder takes the cipher form of its
// name, or its plain name back. Names are planned before anything changes,
// so a hide can be refused while nothing has moved yet. The plan is handed
// to a PlanWriter as the tree is walked (the journal writes it to disk) and
// read back through a PlanReader while renaming, so a tree of any size is
// planned and renamed in little memory. The pass works through the folder
// held open, never through its path, so it cannot be turned onto another
// folder by a link or a rename while it runs.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "crypto/cEncrypt.h"

namespace veilbox {

// One planned rename: a file of folder (its path relative to the pass's
// folder, "" for that folder itself) and its new name.
struct PlannedRename {
  std::string folder;
  std::string name;
  std::string new_name;
};

class PlanWriter {
 public:
  virtual ~PlanWriter() = default;
  // Renames arrive folder by folder: all of one folder's files together.
  virtual void Add(const std::string& folder, const std::string& name,
                   const std::string& new_name) = 0;
};

class PlanReader {
 public:
  virtual ~PlanReader() = default;
  // The next rename in the order they were added; false at the end.
  virtual bool Next(PlannedRename& rename) = 0;
};

// A plan held in memory, for small trees.
class NamePlan : public PlanWriter, public PlanReader {
 public:
  void Add(const std::string& folder, const std::string& name,
           const std::string& new_name) override {
    files.push_back({folder, name, new_name});
  }
  bool Next(PlannedRename& rename) override {
    if (next_ == files.size()) return false;
    rename = files[next_++];
    return true;
  }
  std::vector<PlannedRename> files;

 private:
  size_t next_ = 0;
};

// What a walk planned.
struct PlanSummary {
  long renames = 0;      // files given a new name
  long kept = 0;         // files that keep theirs
  bool complete = true;  // false when part of the tree could not be read
  // Where the walk stopped at a sub-folder on which another drive is
  // mounted (its full path), or empty; the plan is then not complete.
  std::string other_drive;
};

// Why folder (at path) must not be moved or walked: a drive is mounted
// somewhere inside it. nullopt when none is.
std::optional<std::string> MountInsideProblem(Platform& platform, const std::string& path);

// The new name of a file (name in folder, as PlannedRename has them), or
// nullopt when it keeps its name.
using NewName =
    std::function<std::optional<std::string>(const std::string& folder, const std::string& name)>;

// Walks the tree below folder (opened at path) and plans a rename for every
// file that new_name gives a new name.
PlanSummary PlanNames(Session& session, OpenFolder& folder, const std::string& path,
                      const NewName& new_name, PlanWriter& out);

// The cipher form of every file name below folder (opened at path, to be
// renamed at target). Raises, naming the file, when a name's cipher form is
// longer than a file name may be or its path at target than the system
// takes, when a drive is mounted inside the tree, or when part of the tree
// cannot be read.
PlanSummary PlanEncryptedNames(Session& session, cEncrypt& cipher, OpenFolder& folder,
                               const std::string& path, const std::string& target, PlanWriter& out,
                               Where where = Where::current());

// The plain name of every file below folder whose name is cipher text; other
// names stay as they are.
PlanSummary PlanPlainNames(Session& session, cEncrypt& cipher, OpenFolder& folder,
                           const std::string& path, PlanWriter& out);
// The same for a folder given by its path, opened without following links.
PlanSummary PlanPlainNames(Session& session, cEncrypt& cipher, const std::string& path,
                           PlanWriter& out, Where where = Where::current());

struct RenameOutcome {
  int failed = 0;
  std::string first_failure;  // the first file that kept its name, and why
};

// Resume::Yes finishes a pass that was stopped: a file whose old name is gone
// or whose new name is already taken is left as it is.
enum class Resume { No, Yes };

// Makes the planned renames (total of them) below folder, which may since
// have moved from where it was planned; path is where it is now, for
// messages. Reports progress through the dialogue.
RenameOutcome RenameFiles(Session& session, OpenFolder& folder, const std::string& path,
                          PlanReader& plan, long total, Resume resume = Resume::No);
// The same for a folder given by its path, opened without following links.
RenameOutcome RenameFiles(Session& session, const std::string& path, PlanReader& plan, long total,
                          Where where = Where::current());

// Opens the folder at path without following links; raises, saying why,
// when it cannot.
std::unique_ptr<OpenFolder> OpenFolderAt(Platform& platform, const std::string& path,
                                         Where where = Where::current());

}  // namespace veilbox
