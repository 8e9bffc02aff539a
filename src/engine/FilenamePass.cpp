#include "engine/FilenamePass.h"

#include "diag/Failure.h"
#include "search/clsFileFind.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

// The longest file name the file systems Veilbox runs on accept, in bytes.
constexpr size_t kMaxNameLength = 255;

// Every file below folder, relative to it, in the finder's order.
std::vector<std::string> ListFiles(AppState& state, OpenFolder& folder, const std::string& path,
                                   bool& complete) {
  clsFileFind finder(state.platform);
  finder.PumpEvents = [&state] { state.dialogue.PumpEvents(); };
  state.FileArray = {""};
  state.FolderArray = {""};
  const std::string root = JoinPath(path, "", state.platform.Separator());
  FindResult result = finder.SearchFolder(folder, root, state.FileArray, state.FolderArray);
  complete = result == FindResult::DirExSuccess || result == FindResult::NoFilesFound;
  std::vector<std::string> files;
  for (size_t i = 1; i < state.FileArray.size(); ++i) {
    files.push_back(state.FileArray[i].substr(root.size()));
  }
  return files;
}

// Holds open the sub-folder that the last renamed file lay in, so that
// files of one folder, which the plan keeps together, open it once. Each
// folder gets back the modification time it had before its files were
// renamed.
class SubFolders {
 public:
  SubFolders(OpenFolder& root, char separator) : root_(root), separator_(separator) {
    root_time_ = TimeOf(root_);
  }
  ~SubFolders() {
    Leave();
    PutBack(root_, root_time_);
  }
  SubFolders(const SubFolders&) = delete;
  SubFolders& operator=(const SubFolders&) = delete;

  // The open folder for a relative folder path ("" is the root). Raises
  // when a part of it is a link or gone.
  OpenFolder& Open(const std::string& relative) {
    if (relative.empty()) return root_;
    if (!current_ || relative != current_relative_) {
      Leave();
      std::unique_ptr<OpenFolder> folder;
      for (const std::string& part : SplitString(relative, separator_)) {
        folder = (folder ? *folder : root_).OpenChild(part);
      }
      current_time_ = TimeOf(*folder);
      current_ = std::move(folder);
      current_relative_ = relative;
    }
    return *current_;
  }

 private:
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
  void Leave() {
    if (current_) PutBack(*current_, current_time_);
    current_.reset();
  }

  OpenFolder& root_;
  char separator_;
  std::optional<FolderTime> root_time_;
  std::unique_ptr<OpenFolder> current_;
  std::optional<FolderTime> current_time_;
  std::string current_relative_;
};

}  // namespace

std::unique_ptr<OpenFolder> OpenFolderAt(Platform& platform, const std::string& path, Where where) {
  OpenedFolder opened = platform.OpenFolderNoLinks(path);
  if (!opened.folder) {
    Raise(opened.missing ? err::kPathNotFound : err::kPathFileAccess, opened.reason, where);
  }
  return std::move(opened.folder);
}

NamePlan PlanEncryptedNames(AppState& state, cEncrypt& cipher, OpenFolder& folder,
                            const std::string& path, Where where) {
  NamePlan plan;
  for (auto& relative : ListFiles(state, folder, path, plan.complete)) {
    const std::string name = GetLastFolder(relative, state.platform.Separator());
    std::string cipher_name = cipher.Encrypt(name, state.EncryptDecryptKey);
    if (cipher_name.empty() || cipher_name.size() > kMaxNameLength) {
      Raise(err::kInvalidArgument,
            "The name of " + JoinPath(path, relative) + " is too long to be encrypted", where);
    }
    plan.files.push_back({std::move(relative), std::move(cipher_name)});
  }
  if (!plan.complete) {
    Raise(err::kPathFileAccess, "Not every file in " + path + " can be read", where);
  }
  return plan;
}

NamePlan PlanPlainNames(AppState& state, cEncrypt& cipher, OpenFolder& folder,
                        const std::string& path) {
  NamePlan plan;
  for (auto& relative : ListFiles(state, folder, path, plan.complete)) {
    const std::string name = GetLastFolder(relative, state.platform.Separator());
    std::optional<std::string> plain = cipher.DecryptFileName(name, state.EncryptDecryptKey);
    plan.files.push_back({std::move(relative), plain.value_or("")});
  }
  return plan;
}

NamePlan PlanPlainNames(AppState& state, cEncrypt& cipher, const std::string& path, Where where) {
  return PlanPlainNames(state, cipher, *OpenFolderAt(state.platform, path, where), path);
}

RenameOutcome RenameFiles(AppState& state, OpenFolder& folder, const std::string& path,
                          const NamePlan& plan, Resume resume) {
  RenameOutcome outcome;
  const long total = static_cast<long>(plan.files.size());
  const char separator = state.platform.Separator();
  if (total > 0) state.dialogue.ShowProgress(0, total);
  SubFolders folders(folder, separator);
  long done = 0;
  for (const NameChange& change : plan.files) {
    if (!change.new_name.empty()) {
      const std::string relative_folder = GetLastFolderPath(change.relative, separator);
      const std::string name = GetLastFolder(change.relative, separator);
      MoveResult r;
      try {
        OpenFolder& in = folders.Open(relative_folder);
        if (resume == Resume::Yes && (!in.ChildId(name) || in.ChildId(change.new_name))) {
          r = {true, ""};
        } else {
          r = in.RenameChild(name, change.new_name);
        }
      } catch (const Failure& f) {
        r = {false, f.Description()};
      }
      if (!r && outcome.failed++ == 0) {
        outcome.first_failure = JoinPath(path, change.relative) + ": " + r.reason;
      }
    }
    state.dialogue.ShowProgress(++done, total);
  }
  return outcome;
}

RenameOutcome RenameFiles(AppState& state, const std::string& path, const NamePlan& plan,
                          Where where) {
  return RenameFiles(state, *OpenFolderAt(state.platform, path, where), path, plan);
}

}  // namespace veilbox
