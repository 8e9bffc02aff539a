#include "engine/HidePass.h"

#include "diag/Failure.h"
#include "engine/FilenamePass.h"
#include "engine/FolderMove.h"
#include "engine/Journal.h"
#include "engine/Messages.h"
#include "engine/RecordLookup.h"
#include "engine/StoreName.h"
#include "engine/StoreSetup.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

RowResult Refuse(AppState& state, const std::string& source, const std::string& reason) {
  TellMoveFailed(state, source, reason);
  return {RowOutcome::Failed};
}

}  // namespace

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
  // A folder that has become a mount point lies on a drive of its own.
  const std::optional<std::string> own_store = StoreFolderOf(state, source);
  if (!own_store) {
    return Refuse(state, source,
                  "It lies on another drive than the folder it stands in (is it a mount "
                  "point?), and that drive has no hidden/locked folder.");
  }
  const std::string store = *own_store;

  // The folder is held open from here on: every later step works on this
  // folder, whatever takes its name or its parent's name meanwhile.
  HeldFolder held;
  try {
    held = HoldFolder(state.platform, record.path, record.actual);
  } catch (const Failure& f) {
    return Refuse(
        state, source,
        f.Number() == err::kPathNotFound ? "The folder does not exist." : f.Description());
  }

  OpenedStore store_folder = OpenStoreFolder(state, store);
  if (!store_folder.folder) return Refuse(state, source, store_folder.reason);
  const FreeName stored_name = FindFreeName(*store_folder.memo, record.actual);
  const std::string target = JoinPath(store, stored_name.name);

  // Every new name is known before anything moves: a name that cannot be
  // encrypted, or not at target, refuses the whole row while the folder is
  // still in its place. The names go into the row's journal as they are
  // planned.
  JournalWriter journal(state);
  PlanSummary plan;
  if (should_encrypt) {
    try {
      plan = PlanEncryptedNames(state, cipher, *held.folder, source, target, journal);
    } catch (const Failure& f) {
      state.dialogue.Tell(f.Description() + ". " + source + " was not hidden.", "Hide",
                          Icon::Exclamation);
      return {RowOutcome::Failed};
    }
  }

  FolderRecord hidden = record;
  hidden.status = kHidden;
  hidden.encryption = should_encrypt ? kEncrypted : kNormal;
  hidden.actual = stored_name.name;

  journal.Commit({"hide", found->text, hidden.Text(), source, target, plan, held.folder->Id()});
  if (MoveResult moved = MoveHeldFolder(held, std::move(store_folder.folder), stored_name.name);
      !moved) {
    journal.Withdraw();
    state.StoreMemos.erase(store);  // the store may hold what the command does not know of
    return Refuse(state, source, moved.reason);
  }
  store_folder.memo->taken.insert(FoldedName(stored_name.name));

  RowOutcome outcome = RowOutcome::Done;
  if (plan.renames > 0) {
    JournalPlan names(state, journal.Offset());
    RenameOutcome renamed = RenameFiles(state, *held.folder, target, names, plan.renames);
    if (renamed.failed > 0) {
      TellMoveFailed(state, renamed.first_failure,
                     std::to_string(renamed.failed) + " file names kept their plain form.");
      outcome = RowOutcome::Failed;
    }
  }

  ChangeRecord(state, found->text, hidden.Text());
  return {outcome};
}

}  // namespace veilbox
