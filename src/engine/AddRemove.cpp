#include "engine/AddRemove.h"

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
  if (found->record.status != kVisible) {
    RestoreResult restored = RestoreFolder(state, cipher, *found, RestoreUse::Remove);
    if (!restored.restored && !restored.nothing_to_restore) return {restored.outcome};
    outcome = restored.outcome;
  }
  if (!SaveRecordChange(state, found->text, "")) return {RowOutcome::Failed, true, true};
  return {outcome};
}

}  // namespace

CommandResult AddFolder(AppState& state) {
  CommandResult result;
  const bool completed = Trap(state.reporter, [&] {
    const std::string folder = state.dialogue.ChooseFolder(msg::kDefaultChooserTitle);
    if (folder.empty()) {
      ++result.declined;
      return;
    }
    CommandScope scope(state);
    if (auto problem = ListedFolderProblem(state, folder)) {
      state.dialogue.Tell(*problem + " It cannot be added.", "Folder");
      ++result.declined;
      return;
    }
    const FolderRecord record = NewRecord(folder);
    if (!StoreFolderOf(state, folder) && !RunStoreSetup(state, folder, msg::kAddStoreQuestion)) {
      ++result.declined;
      return;
    }
    state.HiddenFolderData = AppendRecord(state.HiddenFolderData, record);
    ++result.done;
    SaveAndReload(state, result, false);
  });
  if (!completed) ++result.failed;
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
