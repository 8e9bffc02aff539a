// StartUp: fills the process-wide state from the constants and the settings,
// runs the version check and asks the first-run agreement.
#pragma once

#include "app/AppState.h"

namespace veilbox {

enum class StartUpResult {
  Continue,
  EndProgram,  // a newer version is demanded, or the agreement was declined
  Refused,     // the program folder or the settings cannot be trusted (told)
};

// Whether the program folder and the settings may be used (StartPlaces.h);
// when not, the user is told why. StartUp asks it first; a front end that
// reads a setting before StartUp asks it before that.
bool StartPlacesTrusted(AppState& state);

// Whether StartUp fetches the version document and offers a newer version.
// The desktop runs it; veilbox-cli passes Skip, so that scripts never wait
// on the network.
enum class VersionCheck { Run, Skip };

// Runs at the top of each start-up stage. A failure is reported and ends
// this run of StartUp, leaving the later steps undone. EndProgram when the
// version document demands that this version stop, or when the user
// declined the agreement, and Refused when the start places are not
// trusted: the front end ends at once.
StartUpResult StartUp(AppState& state, VersionCheck version_check = VersionCheck::Run);

}  // namespace veilbox
