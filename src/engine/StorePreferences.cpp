#include "engine/StorePreferences.h"

#include "app/Constants.h"
#include "app/Settings.h"
#include "engine/FolderGuards.h"
#include "engine/Messages.h"
#include "store/StoreList.h"

namespace veilbox {
namespace {

constexpr const char* kFolderTitle = "Folder";

}  // namespace

StorePreferences::StorePreferences(Session& session) : session_(session) {
  Trap(session_.reporter, [&] {
    for (const std::string& path : session_.stores.Folders()) {
      rows_.push_back({session_.platform.DriveKey(path), path});
    }
  });
}

bool StorePreferences::Add(const std::vector<ListRow>& main_rows) {
  bool changed = false;
  Trap(session_.reporter, [&] {
    const std::string folder = session_.dialogue.ChooseFolder(FolderChoice::Folder);
    if (folder.empty()) return;
    const std::string drive = session_.platform.DriveKey(folder);
    for (const StoreRow& row : rows_) {
      if (row.drive == drive) {
        session_.dialogue.Tell(drive + " already has a hidden/locked folder on it.", kFolderTitle);
        return;
      }
    }
    if (Refused(folder, std::nullopt, main_rows)) return;
    rows_.push_back({drive, folder});
    changed = true;
  });
  return changed;
}

bool StorePreferences::Edit(std::optional<size_t> row, const std::vector<ListRow>& main_rows) {
  if (!Valid(row)) return false;
  bool changed = false;
  Trap(session_.reporter, [&] {
    const std::string drive = rows_[*row].drive;
    if (DriveInUse(drive, main_rows, "editing")) return;
    // The chooser opens at the store folder being replaced.
    const std::string folder =
        session_.dialogue.ChooseFolder(FolderChoice::Folder, rows_[*row].path);
    if (folder.empty()) return;
    if (session_.platform.DriveKey(folder) != drive) {
      session_.dialogue.Tell("Please select a folder on " + drive, kFolderTitle);
      return;
    }
    if (Refused(folder, row, main_rows)) return;
    rows_[*row].path = folder;
    changed = true;
  });
  return changed;
}

bool StorePreferences::Remove(std::optional<size_t> row, const std::vector<ListRow>& main_rows) {
  if (!Valid(row)) return false;
  bool changed = false;
  Trap(session_.reporter, [&] {
    if (DriveInUse(rows_[*row].drive, main_rows, "removing")) return;
    if (session_.dialogue.Ask(ask::RemoveStoreFolder{rows_[*row].path}) != Answer::Yes) return;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*row));
    changed = true;
  });
  return changed;
}

std::string StorePreferences::ListText() const {
  std::string text;
  for (const StoreRow& row : rows_) text += row.path + kRecordTerminator;
  return text;
}

bool StorePreferences::Save() {
  const std::string list = ListText();
  if (!SaveString(session_, SettingsRoot::CurrentUser, kMainKey,
                  std::string(kAppname) + kHideFolderPathSuffix, list)) {
    return false;
  }
  session_.stores = StoreList::Parse(list);
  return true;
}

bool StorePreferences::DriveInUse(const std::string& drive, const std::vector<ListRow>& main_rows,
                                  const std::string& before_what) {
  for (const ListRow& listed : main_rows) {
    if (session_.platform.DriveKey(listed.path) == drive) {
      session_.dialogue.Tell(drive +
                                 " is being used. Please remove items from the main list using " +
                                 drive + " before " + before_what + " this folder.",
                             kFolderTitle);
      return true;
    }
  }
  return false;
}

bool StorePreferences::Refused(const std::string& folder, std::optional<size_t> replacing,
                               const std::vector<ListRow>& main_rows) {
  std::vector<std::string> other_stores;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (i != replacing) other_stores.push_back(rows_[i].path);
  }
  std::vector<std::string> listed;
  for (const ListRow& row : main_rows) listed.push_back(row.path + row.folder);
  const std::optional<std::string> problem =
      StoreFolderProblem(session_, folder, other_stores, listed);
  if (problem) session_.dialogue.Tell(*problem + " Please select another folder.", kFolderTitle);
  return problem.has_value();
}

}  // namespace veilbox
