// Store folders unlocked for a while, on record. Before this process unlocks
// them it writes a marker beside Dat.sys naming itself (Platform::ProcessTag),
// and once it has locked them all again it removes the marker. A marker
// whose process no longer runs says that a run ended, killed or crashed,
// with the store folders unlocked: the next start of either front end locks
// them. A marker of a process that still runs (a desktop window kept
// unlocked) is left alone.
#pragma once

#include <string>

#include "app/AppState.h"

namespace veilbox {

// Dat.sys's path followed by ".unlocked".
std::string UnlockMarkerPath(const AppState& state);

// Writes the marker, flushed to disk, then unlocks every store folder. When
// the marker cannot be written nothing is unlocked (the failure is
// reported). True when all went well.
bool UnlockStoreFoldersForAWhile(AppState& state);

// Locks every store folder; once all are locked, removes this process's
// marker. True when all went well.
bool LockStoreFoldersAgain(AppState& state);

// The user chose to leave the store folders unlocked: this process's marker
// goes, so that no later start locks them.
void LeaveStoreFoldersUnlocked(AppState& state);

// At start, under the data lock: when a marker's process no longer runs,
// locks every store folder, removes the marker and tells the user.
void RelockAfterStoppedRun(AppState& state);

}  // namespace veilbox
