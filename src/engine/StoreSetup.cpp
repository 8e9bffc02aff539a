#include "engine/StoreSetup.h"

#include "app/Constants.h"
#include "app/Settings.h"
#include "diag/Failure.h"
#include "engine/FolderGuards.h"
#include "engine/Messages.h"
#include "engine/StoreName.h"
#include "engine/StorePlace.h"
#include "store/StoreList.h"
#include "store/TextUtil.h"

namespace veilbox {

bool RunStoreSetup(AppState& state, const std::string& folder, bool for_add) {
  const std::string drive = state.platform.DriveKey(folder);
  if (state.dialogue.Ask(ask::SetUpStore{drive, for_add}) != Answer::Yes) return false;
  std::string chosen;
  for (;;) {
    chosen = state.dialogue.ChooseFolder(FolderChoice::StoreFolder);
    if (!chosen.empty() && state.platform.DriveKey(chosen) == drive) break;
    if (state.dialogue.Ask(ask::ChooseStoreAgain{drive}) != Answer::Yes) return false;
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
  return StoreFolderForDrive(state.platform, state.HideFolderPath, path, state.StoreDrives);
}

void EnsureStoreFolder(AppState& state, const std::string& store) {
  Platform& p = state.platform;
  const FolderFacts facts = p.InspectFolder(store);
  if (!facts.exists && facts.link.empty()) {
    const std::string parent = GetLastFolderPath(store, p.Separator());
    if (!parent.empty() && !p.FolderExists(parent)) {
      Raise(err::kPathNotFound, "Path not found: " + parent);
    }
  }
  // A store folder chosen under older rules, or changed since, is judged
  // again before anything moves into it.
  if (std::optional<std::string> problem = ListedStoreProblem(p, store)) {
    problem->pop_back();  // the sentence's full stop: a failure's text has none
    Raise(err::kPathFileAccess, *problem);
  }
  if (!facts.exists) p.CreatePrivateFolder(store);
  p.CreatePrivateFolder(JoinPath(store, kTempFolderName));

  // Remembered so that, while this drive is away, the store folder's path
  // (then on the file system below the mount point) serves no other drive.
  const std::string drive = p.DriveKey(store);
  if (RememberedDrive(state.StoreDrives, store) != drive) {
    const std::string remembered = RememberStoreDrive(state.StoreDrives, store, drive);
    if (SaveString(state, SettingsRoot::CurrentUser, state.MainKey,
                   state.Appname + kStoreDrivesSuffix, remembered)) {
      state.StoreDrives = remembered;
    }
  }
}

OpenedStore OpenStoreFolder(AppState& state, const std::string& store) {
  Platform& p = state.platform;
  if (auto known = state.StoreMemos.find(store); known != state.StoreMemos.end()) {
    OpenedFolder opened = p.OpenFolderNoLinks(store);
    if (opened.folder && opened.folder->Id() == known->second.id) {
      return {std::move(opened.folder), "", &known->second};
    }
    state.StoreMemos.erase(known);
  }
  EnsureStoreFolder(state, store);
  OpenedFolder opened = p.OpenFolderNoLinks(store);
  if (!opened.folder) return {nullptr, opened.reason, nullptr};
  StoreMemo memo{opened.folder->Id(), {}};
  for (const DirEntry& e : opened.folder->List()) memo.taken.insert(FoldedName(e.name));
  StoreMemo& kept = state.StoreMemos[store] = std::move(memo);
  return {std::move(opened.folder), "", &kept};
}

}  // namespace veilbox
