#include "engine/HidePass.h"

#include "diag/Failure.h"
#include "engine/FilenamePass.h"
#include "engine/Journal.h"
#include "engine/Messages.h"
#include "engine/RecordLookup.h"
#include "engine/StoreName.h"
#include "engine/StoreSetup.h"
#include "store/TextUtil.h"

namespace veilbox {

RowResult HideRow(AppState& state, cEncrypt& cipher, const FolderRow& row, bool should_encrypt) {
  if (!row.ticked) return {RowOutcome::Skipped};
  std::optional<FoundRecord> found = FindRecord(state.HiddenFolderData, row);
  if (!found) return {RowOutcome::Declined};
  const FolderRecord& record = found->record;
  if (record.status == kHidden) return {RowOutcome::Done};

  if (!StoreFolderOf(state, record.path) &&
      !RunStoreSetup(state, record.path + record.actual, msg::kHideStoreQuestion)) {
    return {RowOutcome::Declined, true};
  }
  const std::string source = record.path + record.actual;
  const std::string store = *StoreFolderOf(state, source);
  if (!state.platform.FolderExists(source)) {
    TellMoveFailed(state, source, "The folder does not exist.");
    return {RowOutcome::Failed};
  }

  // Every new name is known before anything moves: a name that cannot be
  // encrypted refuses the whole row while the folder is still in its place.
  NamePlan plan;
  if (should_encrypt) {
    try {
      plan = PlanEncryptedNames(state, cipher, source);
    } catch (const Failure& f) {
      state.dialogue.Tell(f.Description() + ". " + source + " was not hidden.", "Hide",
                          Icon::Exclamation);
      return {RowOutcome::Failed};
    }
  }

  EnsureStoreFolder(state, store);
  const FreeName stored_name = FindFreeName(state.platform, store, record.actual);
  const std::string target = JoinPath(store, stored_name.name);
  FolderRecord hidden = record;
  hidden.status = kHidden;
  hidden.encryption = should_encrypt ? kEncrypted : kNormal;
  hidden.actual = stored_name.name;

  WriteJournal(state, {"hide", found->text, hidden.Text(), source, target, plan});
  if (MoveResult moved = state.platform.MoveFolder(source, target); !moved) {
    RemoveJournal(state);
    TellMoveFailed(state, source, moved.reason);
    return {RowOutcome::Failed};
  }

  RowOutcome outcome = RowOutcome::Done;
  if (should_encrypt) {
    RenameOutcome renamed = RenameFiles(state, target, plan);
    if (renamed.failed > 0) {
      TellMoveFailed(state, renamed.first_failure,
                     std::to_string(renamed.failed) + " file names kept their plain form.");
      outcome = RowOutcome::Failed;
    }
  }

  if (!SaveRecordChange(state, found->text, hidden.Text())) {
    return {RowOutcome::Failed, true, true};
  }
  return {outcome};
}

}  // namespace veilbox
