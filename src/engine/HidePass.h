// The hide pass for one row: the folder moves into its drive's store folder
// under a free name, its file names optionally encrypted.
#pragma once

#include "app/AppState.h"
#include "crypto/cEncrypt.h"
#include "engine/PassSteps.h"

namespace veilbox {

// Ends the pass when the user declines the store set-up or a write fails.
RowResult HideRow(AppState& state, cEncrypt& cipher, const FolderRow& row, bool should_encrypt);

}  // namespace veilbox
