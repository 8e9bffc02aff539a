// The version check of start-up: fetches the version document, a text of
// comma-separated fields (newest version, download address, and
// "must-download" when older versions must stop), and offers a newer
// version to the user.
#pragma once

#include "app/AppState.h"

namespace veilbox {

// Fetches the document at state.UpdateURL (nothing when that is empty) and,
// when it names a version newer than state.CurrentVersion, asks whether to
// open the download address. True when the program must end now. A newer
// version with a missing field raises.
bool RunVersionCheck(AppState& state);

}  // namespace veilbox
