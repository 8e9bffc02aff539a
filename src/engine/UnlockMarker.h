// Store folders held unlocked, on record, and shared between copies of
// Veilbox. The marker beside Dat.sys lists, a line each, who holds the store
// folders unlocked: a desktop window or a command by its running process
// (Platform::ProcessTag), or the user (the command line's unlock, or a
// window closed unlocked on purpose). The store folders are locked again
// once no one holds them: a command that unlocked them for its work locks
// them at its end only when no other live holder remains, and leaves the
// others' lines. A line of a process that no longer runs says a run ended,
// killed or crashed, with them unlocked: the next start of either front end
// drops it and locks them when no one else holds them.
#pragma once

#include <string>

#include "app/Session.h"

namespace veilbox {

// Dat.sys's path followed by ".unlocked".
std::string UnlockMarkerPath(const Session& session);

enum class Holder { Window, Command };

// Writes this process's line, flushed to disk, then unlocks every store
// folder. When the marker cannot be written nothing is unlocked (the failure
// is reported). True when all went well.
bool HoldUnlocked(Session& session, Holder holder);

// Drops this process's line (and those of processes that no longer run),
// and locks every store folder when no one holds them any more. True when
// all went well, whether they were locked or stay unlocked for another.
bool ReleaseHold(Session& session);

// The user's lock: every store folder is locked, whoever held them, and the
// marker goes. True when all went well.
bool LockForUser(Session& session);

// The user's unlock: every store folder is unlocked until the user locks
// them, whatever process ends. With the process's own hold given up
// (a window closed unlocked on purpose), nothing is unlocked anew.
bool UnlockForUser(Session& session);
void LeaveUnlocked(Session& session);

// Whether a window should show the store folders unlocked: this process,
// another window or the user holds them. A command's hold is for its own
// work and ends with it.
bool HeldUnlockedForWindows(Session& session);

// At start, under the data lock: drops the lines of processes that no longer
// run; when they held the store folders and no one else does, locks them and
// tells the user.
void RelockAfterStoppedRun(Session& session);

}  // namespace veilbox
