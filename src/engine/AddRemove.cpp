#include "engine/AddRemove.h"

#include <optional>

#include "crypto/cEncrypt.h"
#include "engine/CommandScope.h"
#include "engine/FolderGuards.h"
#include "engine/Messages.h"
#include "engine/RecordLookup.h"
#include "engine/RestoreSteps.h"
#include "engine/StoreSetup.h"

namespace veilbox {
namespace {

// Remove for one row: a hidden folder comes back to its place first.
RowResult RemoveRow(AppState& state, cEncrypt& cipher, const FolderRow& row) {
  if (!row.ticked) return {RowOutcome::Skipped};
  std::optional<FoundRecord> found = FindRecord(state.HiddenFolderData, row);
  if (!found) return {RowOutcome::Declined};
  RowOutcome outcome = RowOutcome::Done;
  // Dropping a Visible row reaches no folder; a hidden one is restored
  // first, which needs a record that names its folders.
  if (found->record.status != kVisible) {
    if (!UsableRecord(state, *found)) return {RowOutcome::Failed};
    RestoreResult restored = RestoreFolder(state, cipher, *found, RestoreUse::Remove);
    if (!restored.restored && !restored.nothing_to_restore) return {restored.outcome};
    outcome = restored.outcome;
  }
  ChangeRecord(state, found->text, "");
  return {outcome};
}

// Adds a Visible record for folder to the list in memory; false, telling
// the user why, when it cannot be listed or the user declines the store set-up.
bool AddOne(AppState& state, const std::string& folder) {
  if (auto problem = ListedFolderProblem(state, folder)) {
    state.dialogue.Tell(*problem + " It cannot be added.", "Folder");
    return false;
  }
  // What a hide refuses (a link on the way) is refused now: the row could
  // never be hidden.
  if (OpenedFolder opened = state.platform.OpenFolderNoLinks(folder); !opened.folder) {
    state.dialogue.Tell(opened.reason + ". It cannot be added.", "Folder");
    return false;
  }
  if (!StoreFolderOf(state, folder) && !RunStoreSetup(state, folder, /*for_add=*/true)) {
    return false;
  }
  state.HiddenFolderData = AppendRecord(state.HiddenFolderData, NewRecord(folder));
  return true;
}

}  // namespace

CommandResult AddFolder(AppState& state) {
  return AddFolders(state, 1);
}

CommandResult AddFolders(AppState& state, int count) {
  CommandResult result;
  // Taken at the first folder chosen, so that no chooser the user cancels
  // holds the data meanwhile.
  std::optional<CommandScope> scope;
  const bool completed = Trap(state.reporter, [&] {
    for (int i = 0; i < count; ++i) {
      const std::string folder = state.dialogue.ChooseFolder(FolderChoice::Folder);
      if (folder.empty()) {
        ++result.declined;
        continue;
      }
      if (!scope) scope.emplace(state);
      if (AddOne(state, folder)) {
        ++result.done;
      } else {
        ++result.declined;
      }
    }
  });
  if (!completed) ++result.failed;
  if (scope && result.done > 0) SaveAndReload(state, result, false);
  return result;
}

CommandResult RemoveFolders(AppState& state, const std::vector<FolderRow>& rows) {
  // Last to first, as the list removes its rows.
  const std::vector<FolderRow> last_first(rows.rbegin(), rows.rend());
  cEncrypt cipher;
  return RunRows(state, last_first,
                 [&](const FolderRow& row) { return RemoveRow(state, cipher, row); });
}

}  // namespace veilbox
