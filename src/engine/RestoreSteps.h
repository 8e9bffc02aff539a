// The restore steps for one hidden folder: out of the store folder to its
// own place, or to another folder on its drive when its place is gone, with
// plain file names again. Used by the restore pass and by Remove.
#pragma once

#include "app/AppState.h"
#include "crypto/cEncrypt.h"
#include "engine/PassSteps.h"
#include "engine/RecordLookup.h"

namespace veilbox {

enum class RestoreUse { Restore, Remove };

struct RestoreResult {
  RowOutcome outcome = RowOutcome::Declined;
  // The record after the folder has moved out of the store.
  std::optional<FolderRecord> restored{};
  // Remove only: the store holds no such folder, so nothing is left to
  // restore and the record can go.
  bool nothing_to_restore = false;
};

RestoreResult RestoreFolder(AppState& state, cEncrypt& cipher, const FoundRecord& found,
                            RestoreUse use);

}  // namespace veilbox
