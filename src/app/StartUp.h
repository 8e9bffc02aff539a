// StartUp: fills the process-wide state from the constants and the settings
// and asks the first-run agreement.
#pragma once

#include "app/AppState.h"

namespace veilbox {

enum class StartUpResult { Continue, EndProgram };

// Runs at the top of each start-up stage. A failure is reported and ends
// this run of StartUp, leaving the later steps undone. EndProgram when the
// user declined the agreement: the front end ends at once.
StartUpResult StartUp(AppState& state);

}  // namespace veilbox
