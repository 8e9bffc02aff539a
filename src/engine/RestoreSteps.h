// The restore steps for one hidden folder: out of the store folder to its
// own place, or to another folder on its drive when its place is gone, with
// plain file names again. Used by the restore pass and by Remove.
#pragma once

#include "app/Session.h"
#include "crypto/cEncrypt.h"
#include "engine/PassSteps.h"

namespace veilbox {

enum class RestoreUse { Restore, Remove };

struct RestoreResult {
  RowResult result;
  // The record after the folder has moved out of the store; it keeps its
  // "Encrypted" mark when names kept their cipher form.
  std::optional<FolderRecord> restored{};
  // Remove only: the store holds no such folder, so nothing is left to
  // restore and the record can go.
  bool nothing_to_restore = false;
};

// Restores the folder of a hidden row of session.folders; the row itself is
// the caller's to change.
RestoreResult RestoreFolder(Session& session, cEncrypt& cipher, size_t row, RestoreUse use);

}  // namespace veilbox
