// The check command: compares the folder list with the store folders and
// the folders' own places, optionally repairing what it safely can.
#pragma once

#include "app/Session.h"

namespace veilbox::cli {

// Prints every finding (and repair) to standard output. 0 when the list and
// the folders agree, 1 when something was found.
int CheckCommand(Session& session, bool repair);

}  // namespace veilbox::cli
