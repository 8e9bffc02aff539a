#include "engine/StatusChange.h"

#include "crypto/cEncrypt.h"
#include "engine/HidePass.h"
#include "engine/RestoreSteps.h"

namespace veilbox {
namespace {

// The restore pass for one row.
RowResult RestoreRow(AppState& state, cEncrypt& cipher, const FolderRow& row) {
  if (!row.ticked) return {RowOutcome::Skipped};
  std::optional<FoundRecord> found = FindRecord(state.HiddenFolderData, row);
  if (!found) return {RowOutcome::Declined};
  if (!UsableRecord(state, *found)) return {RowOutcome::Failed};
  if (found->record.status == kVisible) return {RowOutcome::Done};
  RestoreResult restored = RestoreFolder(state, cipher, *found, RestoreUse::Restore);
  if (!restored.restored) return {restored.outcome};
  ChangeRecord(state, found->text, restored.restored->Text());
  return {restored.outcome};
}

}  // namespace

CommandResult ChangeStatus(AppState& state, const std::string& status_text,
                           const std::vector<FolderRow>& rows, bool should_encrypt) {
  const bool hide = status_text == kStatusHidden;
  const bool restore = status_text == kStatusVisible;
  // Any other text runs no pass, but the list is saved and reloaded all the same.
  const std::vector<FolderRow> pass_rows = hide || restore ? rows : std::vector<FolderRow>{};
  cEncrypt cipher;
  return RunRows(state, pass_rows, [&](const FolderRow& row) {
    return hide ? HideRow(state, cipher, row, should_encrypt) : RestoreRow(state, cipher, row);
  });
}

}  // namespace veilbox
