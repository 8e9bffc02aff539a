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

// How a rename goes with a side file (see StandIns.h): not at all; the side
// file is written before a name is given its stand-in; or it is removed
// after a stand-in is given its name back.
enum class SideFile { None, WriteFirst, RemoveAfter };

// One planned rename: a file of folder (its path relative to the pass's
// folder, "" for that folder itself) and its new name, with the side file
// that goes with it and the cipher text that side file holds.
struct PlannedRename {
  std::string folder;
  std::string name;
  std::string new_name;
  SideFile side = SideFile::None;
  std::string side_name = {};
  std::string side_text = {};
};

class PlanWriter {
 public:
  virtual ~PlanWriter() = default;
  // Renames arrive folder by folder: all of one folder's files together.
  virtual void Add(const PlannedRename& rename) = 0;
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
  void Add(const PlannedRename& rename) override { files.push_back(rename); }
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
  // A walk back to plain names: stand-ins whose side file is missing or
  // damaged (they keep their names), the first of them with why, and side
  // files whose stand-in is not beside them; leftovers are those of them
  // whose file has its name back beside them, as renames that would
  // remove them (see StandIns.h).
  long stand_ins_kept = 0;
  std::string first_kept;
  long lone_side_files = 0;
  std::vector<PlannedRename> leftovers;
};

// Why folder (at path) must not be moved or walked: a drive is mounted
// somewhere inside it. nullopt when none is.
std::optional<std::string> MountInsideProblem(Platform& platform, const std::string& path);

// What becomes of a file: it keeps its name, it is renamed, or it is a
// stand-in or side file the walk counts in its summary instead.
enum class NameFate { Keep, Rename, Aside };

// Plans a file's new name: rename comes with its folder and name (as
// PlannedRename has them) and no side file; in is that folder, open.
using NewName =
    std::function<NameFate(OpenFolder& in, PlannedRename& rename, PlanSummary& summary)>;

// Walks the tree below folder (opened at path) and plans a rename for every
// file that new_name gives a new name.
PlanSummary PlanNames(Session& session, OpenFolder& folder, const std::string& path,
                      const NewName& new_name, PlanWriter& out);

// What a hide does with names already in the form it gives (cipher text, a
// stand-in, a side file). In a tree whose row is plain they are the user's
// own names and are encrypted like any other. In a tree whose restore left
// them (its row keeps the "Encrypted" mark) they are kept as they are:
// encrypted twice, a restore would give back only their first cipher form.
enum class HiddenForms { EncryptAgain, Keep };

// The cipher form of every file name below folder (opened at path, to be
// renamed at target), or a stand-in where that would be longer than a file
// name may be. Raises, naming the file, when a name has no cipher form or
// its path at target would be longer than the system takes, when a drive is
// mounted inside the tree, or when part of the tree cannot be read.
PlanSummary PlanEncryptedNames(Session& session, cEncrypt& cipher, OpenFolder& folder,
                               const std::string& path, const std::string& target, PlanWriter& out,
                               HiddenForms forms, Where where = Where::current());

// The plain name of every file below folder whose name is cipher text, or
// a stand-in with a usable side file; other names stay as they are.
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
