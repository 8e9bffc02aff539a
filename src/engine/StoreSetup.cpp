#include "engine/StoreSetup.h"

#include "app/Constants.h"
#include "diag/Failure.h"
#include "app/Settings.h"
#include "engine/FolderGuards.h"
#include "engine/Messages.h"
#include "store/StoreList.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

constexpr const char* kTempFolderName = "temp";

}  // namespace

bool RunStoreSetup(AppState& state, const std::string& folder, const std::string& question) {
  const std::string drive = state.platform.DriveKey(folder);
  if (state.dialogue.Ask(question + drive + "?", "New folder", Icon::Question,
                         Buttons::YesNoCancel) != Answer::Yes) {
    return false;
  }
  std::string chosen;
  for (;;) {
    chosen = state.dialogue.ChooseFolder(msg::kChooseStoreTitle);
    if (!chosen.empty() && state.platform.DriveKey(chosen) == drive) break;
    if (state.dialogue.Ask(msg::NotOnDrive(drive), "Folder", Icon::Question,
                           Buttons::YesNoCancel) != Answer::Yes) {
      return false;
    }
  }
  std::vector<std::string> listed = ListedFolders(state.HiddenFolderData);
  listed.push_back(folder);
  if (auto problem =
          StoreFolderProblem(state, chosen, StoreFolders(state.HideFolderPath), listed)) {
    state.dialogue.Tell(*problem + " It cannot be a hidden/locked folder.", "Folder");
    return false;
  }
  const std::string list = AddStoreFolder(state.HideFolderPath, chosen);
  if (!SaveString(state, SettingsRoot::CurrentUser, state.MainKey,
                  state.Appname + kHideFolderPathSuffix, list)) {
    return false;
  }
  state.HideFolderPath = list;
  return true;
}

std::optional<std::string> StoreFolderOf(AppState& state, const std::string& path) {
  return StoreFolderForDrive(state.platform, state.HideFolderPath, path);
}

void EnsureStoreFolder(AppState& state, const std::string& store) {
  Platform& p = state.platform;
  if (!p.FolderExists(store)) {
    const std::string parent = GetLastFolderPath(store, p.Separator());
    if (!parent.empty() && !p.FolderExists(parent)) {
      Raise(err::kPathNotFound, "Path not found: " + parent);
    }
    p.CreateFolders(store);
  }
  const std::string temp = JoinPath(store, kTempFolderName);
  if (!p.FolderExists(temp)) p.CreateFolders(temp);
}


}  // namespace veilbox
