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

bool RunStoreSetup(Session& session, const std::string& folder, bool for_add) {
  const std::string drive = session.platform.DriveKey(folder);
  if (session.dialogue.Ask(ask::SetUpStore{drive, for_add}) != Answer::Yes) return false;
  std::string chosen;
  for (;;) {
    chosen = session.dialogue.ChooseFolder(FolderChoice::StoreFolder);
    if (!chosen.empty() && session.platform.DriveKey(chosen) == drive) break;
    if (session.dialogue.Ask(ask::ChooseStoreAgain{drive}) != Answer::Yes) return false;
  }
  std::vector<std::string> listed = ListedFolders(session.folders);
  listed.push_back(folder);
  if (auto problem = StoreFolderProblem(session, chosen, session.stores.Folders(), listed)) {
    session.dialogue.Tell(*problem + " It cannot be a hidden/locked folder.", "Folder");
    return false;
  }
  StoreList list = session.stores;
  list.Add(chosen);
  if (!SaveString(session, SettingsRoot::CurrentUser, kMainKey,
                  std::string(kAppname) + kHideFolderPathSuffix, list.Text())) {
    return false;
  }
  session.stores = std::move(list);
  return true;
}

std::optional<std::string> StoreFolderOf(Session& session, const std::string& path) {
  return session.stores.FolderForDrive(session.platform, path, session.store_drives);
}

void EnsureStoreFolder(Session& session, const std::string& store) {
  Platform& p = session.platform;
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
  if (session.store_drives.DriveOf(store) != drive) {
    StoreDrives remembered = session.store_drives;
    remembered.Remember(store, drive);
    if (SaveString(session, SettingsRoot::CurrentUser, kMainKey,
                   std::string(kAppname) + kStoreDrivesSuffix, remembered.Text())) {
      session.store_drives = std::move(remembered);
    }
  }
}

OpenedStore OpenStoreFolder(Session& session, const std::string& store) {
  Platform& p = session.platform;
  if (auto known = session.store_memos.find(store); known != session.store_memos.end()) {
    OpenedFolder opened = p.OpenFolderNoLinks(store);
    if (opened.folder && opened.folder->Id() == known->second.id) {
      return {std::move(opened.folder), "", &known->second};
    }
    session.store_memos.erase(known);
  }
  EnsureStoreFolder(session, store);
  OpenedFolder opened = p.OpenFolderNoLinks(store);
  if (!opened.folder) return {nullptr, opened.reason, nullptr};
  StoreMemo memo{opened.folder->Id(), {}};
  for (const DirEntry& e : opened.folder->List()) memo.taken.insert(FoldedName(e.name));
  StoreMemo& kept = session.store_memos[store] = std::move(memo);
  return {std::move(opened.folder), "", &kept};
}

}  // namespace veilbox
