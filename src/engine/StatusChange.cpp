#include "engine/StatusChange.h"

#include "crypto/cEncrypt.h"
#include "engine/CommandScope.h"
#include "engine/HidePass.h"
#include "engine/RestoreSteps.h"

namespace veilbox {
namespace {

// The restore pass for one row.
RowResult RestoreRow(AppState& state, cEncrypt& cipher, const FolderRow& row) {
  if (!row.ticked) return {RowOutcome::Skipped};
  std::optional<FoundRecord> found = FindRecord(state.HiddenFolderData, row);
  if (!found) return {RowOutcome::Declined};
  if (found->record.status == kVisible) return {RowOutcome::Done};
  RestoreResult restored = RestoreFolder(state, cipher, *found, RestoreUse::Restore);
  if (!restored.restored) return {restored.outcome};
  if (!SaveRecordChange(state, found->text, restored.restored->Text())) {
    return {RowOutcome::Failed, true, true};
  }
  return {restored.outcome};
}

}  // namespace

CommandResult ChangeStatus(AppState& state, const std::string& status_text,
                           const std::vector<FolderRow>& rows, bool should_encrypt) {
  CommandResult result;
  bool write_failed = false;
  const bool hide = status_text == kStatusHidden;
  const bool restore = status_text == kStatusVisible;
  cEncrypt cipher;
  const bool completed = Trap(state.reporter, [&] {
    CommandScope scope(state);
    for (const FolderRow& row : rows) {
      if (!hide && !restore) break;
      RowResult r =
          hide ? HideRow(state, cipher, row, should_encrypt) : RestoreRow(state, cipher, row);
      Count(result, r.outcome);
      write_failed = r.write_failed;
      if (r.end_pass) break;
    }
  });
  if (!completed) ++result.failed;
  SaveAndReload(state, result, write_failed);
  return result;
}

}  // namespace veilbox
