#include "engine/FilenamePass.h"

#include "diag/Failure.h"
#include "search/clsFileFind.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

// The longest file name the file systems Veilbox runs on accept, in bytes.
constexpr size_t kMaxNameLength = 255;

// Every file below folder, relative to it, in the finder's order.
std::vector<std::string> ListFiles(AppState& state, const std::string& folder, bool& complete) {
  clsFileFind finder(state.platform);
  finder.PumpEvents = [&state] { state.dialogue.PumpEvents(); };
  state.FileArray = {""};
  state.FolderArray = {""};
  const std::string root = folder + state.platform.Separator();
  FindResult result = finder.SearchFile(root, true, state.FileArray, state.FolderArray);
  complete = result == FindResult::DirExSuccess || result == FindResult::NoFilesFound;
  std::vector<std::string> files;
  for (size_t i = 1; i < state.FileArray.size(); ++i) {
    files.push_back(state.FileArray[i].substr(root.size()));
  }
  return files;
}

}  // namespace

NamePlan PlanEncryptedNames(AppState& state, cEncrypt& cipher, const std::string& folder,
                            Where where) {
  NamePlan plan;
  for (auto& relative : ListFiles(state, folder, plan.complete)) {
    const std::string name = GetLastFolder(relative, state.platform.Separator());
    std::string cipher_name = cipher.Encrypt(name, state.EncryptDecryptKey);
    if (cipher_name.empty() || cipher_name.size() > kMaxNameLength) {
      Raise(err::kInvalidArgument,
            "The name of " + JoinPath(folder, relative) + " is too long to be encrypted", where);
    }
    plan.files.push_back({std::move(relative), std::move(cipher_name)});
  }
  if (!plan.complete) {
    Raise(err::kPathFileAccess, "Not every file in " + folder + " can be read", where);
  }
  return plan;
}

NamePlan PlanPlainNames(AppState& state, cEncrypt& cipher, const std::string& folder) {
  NamePlan plan;
  for (auto& relative : ListFiles(state, folder, plan.complete)) {
    const std::string name = GetLastFolder(relative, state.platform.Separator());
    std::optional<std::string> plain = cipher.DecryptFileName(name, state.EncryptDecryptKey);
    plan.files.push_back({std::move(relative), plain.value_or("")});
  }
  return plan;
}

RenameOutcome RenameFiles(AppState& state, const std::string& folder, const NamePlan& plan) {
  RenameOutcome outcome;
  const long total = static_cast<long>(plan.files.size());
  const char separator = state.platform.Separator();
  if (total > 0) state.dialogue.ShowProgress(0, total);
  long done = 0;
  for (const NameChange& change : plan.files) {
    if (!change.new_name.empty()) {
      const std::string old_path = JoinPath(folder, change.relative);
      const std::string parent = GetLastFolderPath(old_path, separator);
      MoveResult r = state.platform.Rename(old_path, JoinPath(parent, change.new_name));
      if (!r && outcome.failed++ == 0) outcome.first_failure = old_path + ": " + r.reason;
    }
    state.dialogue.ShowProgress(++done, total);
  }
  return outcome;
}

}  // namespace veilbox
