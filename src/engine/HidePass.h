// The hide pass for one row: the folder moves into its drive's store folder
// under a free name, its file names optionally encrypted.
#pragma once

#include "app/Session.h"
#include "crypto/cEncrypt.h"
#include "engine/PassSteps.h"

namespace veilbox {

// Hides the folder of a row of session.folders. Ends the pass when the user
// declines the store set-up.
RowResult HideRow(Session& session, cEncrypt& cipher, size_t row, bool should_encrypt);

}  // namespace veilbox
