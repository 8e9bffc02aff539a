#include "engine/FilenamePass.h"

#include <algorithm>
#include <string_view>

#include "diag/Failure.h"
#include "engine/Messages.h"
#include "engine/StandIns.h"
#include "search/clsFileFind.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

// The most planned renames read ahead of the renames themselves.
constexpr long kRenameBatch = 256;

// The parts of a relative folder path ("" has none).
std::vector<std::string_view> PartsOf(std::string_view relative, char separator) {
  std::vector<std::string_view> parts;
  while (!relative.empty()) {
    const size_t end = relative.find(separator);
    parts.push_back(relative.substr(0, end));
    if (end == std::string_view::npos) break;
    relative.remove_prefix(end + 1);
  }
  return parts;
}

// The folders from the pass's folder down to the one whose files are being
// renamed, held open: the plan comes folder by folder in walk order, so the
// next folder shares most of its path with this one and only the rest is
// opened, each part through its parent. Each folder gets back the
// modification time it had before its files were renamed when it is left.
class FolderPath {
 public:
  FolderPath(OpenFolder& root, char separator) : root_(root), separator_(separator) {
    root_time_ = TimeOf(root_);
  }
  ~FolderPath() {
    LeaveTo(0);
    PutBack(root_, root_time_);
  }
  FolderPath(const FolderPath&) = delete;
  FolderPath& operator=(const FolderPath&) = delete;

  // The open folder for a relative folder path. Raises when a part of it is
  // a link or gone.
  OpenFolder& Open(const std::string& relative) {
    if (current_ != relative) {
      const std::vector<std::string_view> parts = PartsOf(relative, separator_);
      size_t shared = 0;
      while (shared < parts.size() && shared < levels_.size() &&
             levels_[shared].name == parts[shared]) {
        ++shared;
      }
      LeaveTo(shared);
      current_.reset();
      for (size_t i = shared; i < parts.size(); ++i) {
        OpenFolder& parent = levels_.empty() ? root_ : *levels_.back().folder;
        std::unique_ptr<OpenFolder> folder = parent.OpenChild(std::string(parts[i]));
        // A drive mounted there since the plan was made is not renamed.
        if (folder->FileSystem() != root_.FileSystem()) {
          Raise(err::kPathFileAccess, std::string(parts[i]) + " lies on another drive");
        }
        const std::optional<FolderTime> time = TimeOf(*folder);
        levels_.push_back({std::string(parts[i]), std::move(folder), time});
      }
      current_ = relative;
    }
    return levels_.empty() ? root_ : *levels_.back().folder;
  }

 private:
  struct Level {
    std::string name;
    std::unique_ptr<OpenFolder> folder;
    std::optional<FolderTime> time;
  };

  static std::optional<FolderTime> TimeOf(OpenFolder& folder) {
    try {
      return folder.ModifiedTime();
    } catch (const Failure&) {
      return std::nullopt;
    }
  }
  // Best effort: a time that cannot be put back costs no file.
  static void PutBack(OpenFolder& folder, const std::optional<FolderTime>& time) {
    if (!time) return;
    try {
      folder.SetModifiedTime(*time);
    } catch (const Failure&) {
    }
  }
  // Leaves the deeper folders, deepest first, keeping depth of them.
  void LeaveTo(size_t depth) {
    while (levels_.size() > depth) {
      PutBack(*levels_.back().folder, levels_.back().time);
      levels_.pop_back();
    }
  }

  OpenFolder& root_;
  char separator_;
  std::optional<FolderTime> root_time_;
  std::vector<Level> levels_;
  std::optional<std::string> current_ = "";  // the relative path levels_ hold, if known
};

// Only files are renamed: where another user may write, a file's name
// planned in one moment can lead to a folder the next, exchanged for it,
// and that folder keeps its name. Where no one else may write, nothing is
// exchanged, and the look is spared.
constexpr const char* kBecameAFolder = "it is a folder now, not the file whose name was planned";

// One planned rename, made in its folder.
MoveResult RenameOne(FolderPath& folders, const PlannedRename& change, Resume resume) {
  try {
    OpenFolder& in = folders.Open(change.folder);
    if (change.side != SideFile::None) return RenameWithSideFile(in, change, resume);
    if (resume == Resume::Yes && (!in.ChildId(change.name) || in.ChildId(change.new_name))) {
      return {true, ""};
    }
    const bool shared = in.OthersMayChange();
    if (shared && in.IsChildFolder(change.name)) return {false, kBecameAFolder};
    MoveResult renamed = in.RenameChild(change.name, change.new_name);
    // Exchanged for a folder between the look and the rename: the folder
    // gets its name back.
    if (renamed && shared && in.IsChildFolder(change.new_name)) {
      const MoveResult back = in.RenameChild(change.new_name, change.name);
      return {false, back ? std::string(kBecameAFolder)
                          : std::string(kBecameAFolder) + "; it is now named " + change.new_name +
                                " (" + back.reason + ")"};
    }
    return renamed;
  } catch (const Failure& f) {
    return {false, f.Description()};
  }
}

std::string Below(const std::string& path, const std::string& folder, const std::string& name,
                  char separator) {
  return JoinPath(path, folder.empty() ? name : folder + separator + name, separator);
}

}  // namespace

std::unique_ptr<OpenFolder> OpenFolderAt(Platform& platform, const std::string& path, Where where) {
  OpenedFolder opened = platform.OpenFolderNoLinks(path);
  if (!opened.folder) {
    Raise(opened.missing ? err::kPathNotFound : err::kPathFileAccess, opened.reason, where);
  }
  return std::move(opened.folder);
}

std::optional<std::string> MountInsideProblem(Platform& platform, const std::string& path) {
  const std::vector<std::string> mounts = platform.MountPointsInside(path);
  if (mounts.empty()) return std::nullopt;
  return msg::HoldsMount(path, mounts.front());
}

PlanSummary PlanNames(Session& session, OpenFolder& folder, const std::string& path,
                      const NewName& new_name, PlanWriter& out) {
  clsFileFind finder(session.platform);
  finder.PumpEvents = [&session] { session.dialogue.PumpEvents(); };
  PlanSummary summary;
  PlannedRename rename;
  const FindResult result = finder.WalkFolder(
      folder, [&](const std::string& relative, const std::string& name, OpenFolder& in) {
        rename.folder = relative;
        rename.name = name;
        rename.side = SideFile::None;
        switch (new_name(in, rename, summary)) {
          case NameFate::Rename:
            out.Add(rename);
            ++summary.renames;
            break;
          case NameFate::Keep:
            ++summary.kept;
            break;
          case NameFate::Aside:
            break;
        }
      });
  summary.complete = result == FindResult::DirExSuccess || result == FindResult::NoFilesFound;
  if (!finder.OtherDrive().empty()) {
    summary.other_drive = JoinPath(path, finder.OtherDrive(), session.platform.Separator());
  }
  return summary;
}

PlanSummary PlanEncryptedNames(Session& session, cEncrypt& cipher, OpenFolder& folder,
                               const std::string& path, const std::string& target, PlanWriter& out,
                               HiddenForms forms, Where where) {
  const char separator = session.platform.Separator();
  std::optional<std::string> refused;
  CipherNamer namer(cipher, session.key_text, SideFilesThere::Taken);
  const PlanSummary summary = PlanNames(
      session, folder, path,
      [&](OpenFolder& in, PlannedRename& rename, PlanSummary&) {
        if (forms == HiddenForms::Keep && InHiddenForm(cipher, session.key_text, rename.name)) {
          return NameFate::Aside;
        }
        const std::string file = Below(path, rename.folder, rename.name, separator);
        if (!namer.Plan(in, rename)) {
          refused = "The name of " + file + " cannot be encrypted";
        } else if (target.size() + rename.folder.size() +
                       std::max(rename.new_name.size(), rename.side_name.size()) + 2 >
                   session.platform.MaxPathLength()) {
          refused =
              "The path of " + file + " would be longer than the system allows once encrypted";
        }
        // Ends the walk: the row is refused whatever else the tree holds.
        if (refused) throw Failure(err::kInvalidArgument, *refused, where);
        return NameFate::Rename;
      },
      out);
  if (refused) Raise(err::kInvalidArgument, *refused, where);
  if (!summary.other_drive.empty()) {
    std::string text = msg::HoldsMount(path, summary.other_drive);
    text.pop_back();  // the caller ends the sentence
    Raise(err::kPathFileAccess, text, where);
  }
  if (!summary.complete) {
    Raise(err::kPathFileAccess, "Not every file in " + path + " can be read", where);
  }
  return summary;
}

PlanSummary PlanPlainNames(Session& session, cEncrypt& cipher, OpenFolder& folder,
                           const std::string& path, PlanWriter& out) {
  return PlanNames(
      session, folder, path,
      [&](OpenFolder& in, PlannedRename& rename, PlanSummary& summary) {
        return PlanPlainName(in, cipher, session.key_text, path, rename, summary);
      },
      out);
}

PlanSummary PlanPlainNames(Session& session, cEncrypt& cipher, const std::string& path,
                           PlanWriter& out, Where where) {
  return PlanPlainNames(session, cipher, *OpenFolderAt(session.platform, path, where), path, out);
}

RenameOutcome RenameFiles(Session& session, OpenFolder& folder, const std::string& path,
                          PlanReader& plan, long total, Resume resume) {
  RenameOutcome outcome;
  const char separator = session.platform.Separator();
  if (total > 0) session.dialogue.ShowProgress(0, total);
  FolderPath folders(folder, separator);
  long done = 0;
  // The plan is read a batch at a time and the batch then renamed: after
  // each rename, a system call, whatever the loop touches is fetched anew,
  // so the loop between two renames is kept to the rename itself. Progress
  // is shown after each batch: file by file for a small tree, in about a
  // thousand steps for a large one.
  std::vector<PlannedRename> batch(static_cast<size_t>(std::clamp(total / 1000, 1L, kRenameBatch)));
  size_t count = batch.size();
  while (count == batch.size()) {
    count = 0;
    while (count < batch.size() && plan.Next(batch[count])) ++count;
    for (size_t i = 0; i < count; ++i) {
      const PlannedRename& change = batch[i];
      const MoveResult r = RenameOne(folders, change, resume);
      if (!r && outcome.failed++ == 0) {
        outcome.first_failure =
            Below(path, change.folder, change.name, separator) + ": " + r.reason;
      }
    }
    if (count == 0) break;
    done += static_cast<long>(count);
    session.dialogue.ShowProgress(done, std::max(total, done));
  }
  // A plan read back with fewer renames than were planned is damaged: the
  // files it no longer names keep their names, and that is a failure.
  if (done < total) {
    if (outcome.failed == 0) {
      outcome.first_failure = path + ": the plan of new names ends before its last file";
    }
    outcome.failed += static_cast<int>(total - done);
  }
  return outcome;
}

RenameOutcome RenameFiles(Session& session, const std::string& path, PlanReader& plan, long total,
                          Where where) {
  return RenameFiles(session, *OpenFolderAt(session.platform, path, where), path, plan, total);
}

}  // namespace veilbox
