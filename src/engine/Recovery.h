// Recovery: the rows of a command that a stopped program left unsaved (its
// journal is still there) are carried through to a consistent end before any
// command runs: each folder is either back where it was with its record
// unchanged, or where its row was taking it with every planned rename made
// and the record saying so.
#pragma once

#include "app/Session.h"

namespace veilbox {

// Recovers the journal's rows, if a journal was left, and tells the user in
// one message what was done. Returns whether there was one. Raises when a
// journal that cannot be followed could not be moved aside: no command may
// run then. Needs the started session (StartUp has run) and should run
// before any command.
bool RecoverInterruptedRow(Session& session);

}  // namespace veilbox
