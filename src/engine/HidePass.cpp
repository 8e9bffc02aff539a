#include "engine/HidePass.h"

#include "diag/Failure.h"
#include "engine/FilenamePass.h"
#include "engine/FolderGuards.h"
#include "engine/FolderMove.h"
#include "engine/Journal.h"
#include "engine/Messages.h"
#include "engine/StoreName.h"
#include "engine/StoreSetup.h"
#include "store/TextUtil.h"

namespace veilbox {
RowResult HideRow(Session& session, cEncrypt& cipher, size_t row, bool should_encrypt) {
  if (auto refused = RefuseUnusable(session, row)) return *refused;
  const FolderRecord record = session.folders[row];
  if (record.status == kHidden) return AlreadySo();
  // A restore that left cipher names keeps the row's "Encrypted" mark. Such
  // a folder is hidden encrypted, asked or not, so that the list and the
  // names agree, and its next restore gives every name its plain form.
  const bool names_left_encrypted = record.encryption == kEncrypted;
  should_encrypt = should_encrypt || names_left_encrypted;

  const std::string source = record.path + record.actual;
  // A row listed before its folder became one of Veilbox's own places.
  if (auto problem = ListedFolderProblem(session, source)) {
    return MoveFailed(session, source, *problem + " It cannot be hidden.");
  }
  if (!StoreFolderOf(session, record.path) && !RunStoreSetup(session, source, /*for_add=*/false)) {
    return Declined(/*end_pass=*/true);
  }
  // A folder that has become a mount point lies on a drive of its own.
  const std::optional<std::string> own_store = StoreFolderOf(session, source);
  if (!own_store) {
    return MoveFailed(session, source,
                      "It lies on another drive than the folder it stands in (is it a mount "
                      "point?), and that drive has no hidden/locked folder.");
  }
  const std::string store = *own_store;

  // The folder is held open from here on: every later step works on this
  // folder, whatever takes its name or its parent's name meanwhile.
  HeldFolder held;
  try {
    held = HoldFolder(session.platform, record.path, record.actual);
  } catch (const Failure& f) {
    return MoveFailed(
        session, source,
        f.Number() == err::kPathNotFound ? "The folder does not exist." : f.Description());
  }
  if (auto mounted = MountInsideProblem(session.platform, source)) {
    return Refuse(session, *mounted + " " + source + " was not hidden.", "Hide");
  }

  OpenedStore store_folder = OpenStoreFolder(session, store);
  if (!store_folder.folder) return MoveFailed(session, source, store_folder.reason);
  const FreeName stored_name = FindFreeName(*store_folder.memo, record.actual);
  const std::string target = JoinPath(store, stored_name.name);

  // Every new name is known before anything moves: a name that cannot be
  // encrypted, or not at target, refuses the whole row while the folder is
  // still in its place. The names go into the row's journal as they are
  // planned.
  JournalWriter journal(session);
  PlanSummary plan;
  if (should_encrypt) {
    try {
      plan =
          PlanEncryptedNames(session, cipher, *held.folder, source, target, journal,
                             names_left_encrypted ? HiddenForms::Keep : HiddenForms::EncryptAgain);
    } catch (const Failure& f) {
      return Refuse(session, f.Description() + ". " + source + " was not hidden.", "Hide");
    }
  }

  FolderRecord hidden = record;
  hidden.status = kHidden;
  hidden.encryption = should_encrypt ? kEncrypted : kNormal;
  hidden.actual = stored_name.name;

  journal.Commit({"hide", record, hidden, source, target, plan, held.folder->Id()});
  if (MoveResult moved = MoveHeldFolder(held, std::move(store_folder.folder), stored_name.name);
      !moved) {
    journal.Withdraw();
    session.store_memos.erase(store);  // the store may hold what the command does not know of
    return MoveFailed(session, source, moved.reason);
  }
  store_folder.memo->taken.insert(FoldedName(stored_name.name));
  session.folders.Replace(row, hidden);

  if (plan.renames > 0) {
    JournalPlan names(session, journal.Offset());
    RenameOutcome renamed = RenameFiles(session, *held.folder, target, names, plan.renames);
    if (renamed.failed > 0) {
      return MoveFailed(session, renamed.first_failure,
                        std::to_string(renamed.failed) + " file names kept their plain form.");
    }
  }
  return Done();
}

}  // namespace veilbox
